#!/usr/bin/env bash
# The real program against hostile files and heavy input: a named pipe given as the run file,
# Quit and SIGTERM in the middle of a long opening, and a held arrow key at 784 organisms, then
# a burst of presses with SIGTERM behind it. Each must leave the program answering and quit
# with status 0, settings saved. Times are bounded generously: this is a check of the order of
# magnitude, on a machine that may be busy; bench/app measures.
#   smoke_hostile_files_test.sh <vornick> <vornick-trace>
set -uo pipefail
binary=$1
trace=$2
work=$(mktemp -d)
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
pid=
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL $*"; exit 1; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The main window's id once it has settled (Qt replaces the first native window): of the
# windows called Vornick, the one taller than the board (a progress window is not).
main_window() {
  sleep 2
  for _ in $(seq 40); do
    local w
    for w in $(xdotool search --onlyvisible --name '^Vornick$' 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$w")"
      [ "$HEIGHT" -gt 300 ] && { echo "$w"; return; }
    done
    sleep 0.5
  done
  fail "no Vornick window"
}

# Starts the program on a run file, without its status bar, so the board sits right under
# the menu bar.
launch() {
  printf '[General]\nstatusBar=no\n' >"$XDG_CONFIG_HOME/Vornick.conf"
  rm -f "$XDG_CONFIG_HOME/Vornick prefs.conf"
  "$binary" "$@" 2>"$work/err" &
  pid=$!
}

# Waits up to $2 ms for the program to end; its status must be 0 and the settings saved.
await_exit() {
  local until=$(($(now_ms) + $2))
  while kill -0 "$pid" 2>/dev/null && [ "$(now_ms)" -lt "$until" ]; do sleep 0.02; done
  kill -0 "$pid" 2>/dev/null && fail "$1: still running after $2 ms"
  wait "$pid"
  local status=$?
  pid=
  [ "$status" -eq 0 ] || fail "$1: exit status $status: $(cat "$work/err")"
  grep -q '^randomizeProg=' "$XDG_CONFIG_HOME/Vornick prefs.conf" 2>/dev/null ||
    fail "$1: settings not saved"
}

# A named pipe is refused without being opened: nobody ever writes to it, yet the window comes
# up and a signal ends the program at once.
mkfifo "$work/pipe.vornick"
launch "$work/pipe.vornick"
main_window >/dev/null
kill -TERM "$pid"
await_exit "a named pipe" 3000

# A long opening: its progress window shows; Quit and SIGTERM end the program through it.
printf 'vornick-run 1\nseed 3\norgs 784\nrandom-count no\nmax-iters 2000000000\nstop-at none\nsteps 2000000000\n' \
  >"$work/long.vornick"
for how in ctrl+q TERM; do
  launch "$work/long.vornick"
  window=$(main_window) || fail "no Vornick window"
  shown=
  for _ in $(seq 50); do
    [ "$(xdotool search --onlyvisible --name '^Vornick$' 2>/dev/null | wc -l)" -ge 2 ] && shown=1 && break
    sleep 0.1
  done
  [ -n "$shown" ] || fail "no progress window for a long opening"
  # Without a window manager a click gives the keyboard; it lands on the panel, which takes it.
  xdotool mousemove --window "$window" 380 100 click 1
  sleep 0.3
  if [ "$how" = TERM ]; then kill -TERM "$pid"; else xdotool key "$how"; fi
  await_exit "$how during a long opening" 3000
done

# A held arrow key: an organism selected, 300 presses as fast as the X server takes them. Save
# Run As, pressed behind them, opens only once they are all handled; its file holds every move.
printf 'vornick-run 1\nseed 5\norgs 784\nrandom-count no\nmax-iters 100000\nstop-at none\nsteps 0\n' \
  >"$work/crowd.vornick"
read -r _ _ x y _ < <("$trace" --run "$work/crowd.vornick" | grep '^org 0 ')
launch "$work/crowd.vornick"
window=$(main_window) || fail "no Vornick window"
eval "$(xdotool getwindowgeometry --shell "$window")"
top=$((HEIGHT - 300))  # the menu bar's height
xdotool mousemove --window "$window" $((15 + 10 * x)) $((top + 15 + 10 * y)) click 1
sleep 0.5
keys=$(printf 'Right %.0s' $(seq 300))
# shellcheck disable=SC2086
xdotool key --delay 0 $keys
sent=$(now_ms)
xdotool key ctrl+shift+s
dialog=
for _ in $(seq 200); do
  dialog=$(xdotool search --onlyvisible --name '^Save Run As$' 2>/dev/null | head -n 1)
  [ -n "$dialog" ] && break
  sleep 0.02
done
waited=$(($(now_ms) - sent))
[ -n "$dialog" ] || fail "no Save Run As dialog after the presses"
[ "$waited" -lt 2500 ] || fail "300 presses took $waited ms to work off"
sleep 0.3
xdotool key ctrl+a
xdotool type "$work/held.vornick"
xdotool key Return
for _ in $(seq 50); do [ -s "$work/held.vornick" ] && break; sleep 0.1; done
moves=$(grep -c ' arrow ' "$work/held.vornick" 2>/dev/null)
[ "$moves" = 300 ] || fail "the saved run holds ${moves:-no} moves of 300"
echo "300 presses at 784 organisms worked off within $waited ms of the last"

# Presses queued up, then SIGTERM: the program quits without working them off first.
keys=$(printf 'Left %.0s' $(seq 2500))
# shellcheck disable=SC2086
xdotool key --delay 0 $keys
kill -TERM "$pid"
await_exit "SIGTERM behind 2500 presses" 2000
echo "hostile files and heavy input handled"
