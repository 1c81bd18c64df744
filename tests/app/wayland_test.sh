#!/usr/bin/env bash
# Runs the real program as a native Wayland client (no DISPLAY) of a Weston nested in the test
# X display. It must show the seed-1 board, step the run, save its settings on SIGTERM and end
# with status 0. The board is looked for on the X screen, where Weston shows its output.
# Where Weston cannot run here, the test is skipped (status 77) with the reason.
set -uo pipefail
binary=$1
finder=$2
tracer=$3

skip() {
  echo "SKIPPED: $*"
  exit 77
}
fail() {
  echo "$*"
  [ -s "$work/weston.log" ] && { echo "--- weston:"; tail -n 20 "$work/weston.log"; }
  [ -s "$work/vornick.log" ] && { echo "--- vornick:"; tail -n 20 "$work/vornick.log"; }
  exit 1
}

[ -n "${DISPLAY:-}" ] || skip "no X display to nest Weston in"
command -v weston >/dev/null || skip "weston is not installed (Debian package weston)"
compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null ||
  skip "Qt's Wayland platform is not installed (Debian package qt6-wayland)"

work=$(mktemp -d)  # 0700: Wayland refuses a runtime directory others can enter
runtime="$work/runtime"
config="$work/config"
mkdir -m 700 "$runtime" "$config"
socket="vornick-test-$$"
weston_pid=
pid=
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# The kiosk shell gives the program the keyboard at once and has no launchers to click by mistake.
XDG_RUNTIME_DIR=$runtime weston --backend=x11-backend.so --use-pixman --socket="$socket" \
  --shell=kiosk-shell.so --width=1024 --height=720 --idle-time=0 --no-config \
  >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
  [ -S "$runtime/$socket" ] && break
  kill -0 "$weston_pid" 2>/dev/null || break
  sleep 0.1
done
if ! [ -S "$runtime/$socket" ] || ! kill -0 "$weston_pid" 2>/dev/null; then
  skip "Weston did not start: $(tail -n 3 "$work/weston.log" | tr '\n' ' ')"
fi

# The first run of seed 1 with 4 organisms, and a slow speed so slow that it waits for a key.
printf '[General]\niNumOrgs=4\nrandINumOrgs=no\nrerunSavedSim=no\nrandomizeProg=no\nslow=10000\n' \
  >"$config/Vornick prefs.conf"
for steps in 0 1 2; do
  "$tracer" --seed 1 --orgs 4 --steps $steps >"$work/step$steps" || fail "vornick-trace failed"
done

env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$socket" XDG_RUNTIME_DIR="$runtime" \
  XDG_CONFIG_HOME="$config" "$binary" >"$work/vornick.log" 2>&1 &
pid=$!

# Prints where the board of a trace is on the screen, waiting up to 20 s for it.
board_at() {
  for _ in $(seq 40); do
    kill -0 "$pid" 2>/dev/null || fail "the program ended early"
    if "$finder" "$1" "$work/screen.png" >"$work/found" 2>"$work/finder.log"; then
      cut -d' ' -f3 "$work/found"
      return
    fi
    sleep 0.5
  done
  fail "$2 is not on the screen: $(cat "$work/found")"
}

# Keys typed on the X display reach Weston's focused client.
at=$(board_at "$work/step0" "the seed-1 board")
echo "seed-1 board shown at $at"
xdotool key ctrl+5  # the single-step mode: one step, then halted
at=$(board_at "$work/step1" "the board after one step")
echo "one step shown at $at"
xdotool key ctrl+r  # continue: one step more
at=$(board_at "$work/step2" "the board after two steps")
echo "two steps shown at $at"

kill -TERM "$pid"
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "SIGTERM did not end the program"
wait "$pid"
status=$?
pid=
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM"
for key in maxIters setStopPt stopIters slow fast turbo variable sliderVal iNumOrgs randINumOrgs \
  rerunSavedSim savedSeed randomizeProg; do
  grep -q "^$key=" "$config/Vornick prefs.conf" || fail "$key not saved: $(cat "$config/Vornick prefs.conf")"
done
grep -q '^slow=10000$' "$config/Vornick prefs.conf" || fail "the slow speed was not kept: $(cat "$config/Vornick prefs.conf")"
echo "ran on Wayland: showed and stepped the board, saved its settings on SIGTERM, exit status 0"
