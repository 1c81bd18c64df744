#!/usr/bin/env bash
# Launches the real program with 784 organisms and ends it every way a user or the system can:
# Ctrl+Q and the menu's Quit at maximum speed, Ctrl+Q in turbo, SIGTERM, SIGINT and SIGHUP.
# Each must end with status 0 and all thirteen settings saved.
set -uo pipefail
binary=$1
config=$(mktemp -d)
file="$config/Vornick prefs.conf"
export XDG_CONFIG_HOME=$config
pid=
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  rm -rf "$config"
}
trap cleanup EXIT
fail() { echo "$*"; exit 1; }

keys=(maxIters setStopPt stopIters slow fast turbo variable sliderVal iNumOrgs randINumOrgs
      rerunSavedSim savedSeed randomizeProg)

launch() {
  printf '[General]\niNumOrgs=784\n' >"$file"
  "$binary" &
  pid=$!
}

# Qt replaces the first native window once the GL surface exists, so look for the window only
# when it has settled. Without a window manager a click activates it; it lands on the panel,
# where a click does nothing else.
focus() {
  sleep 2
  local window=
  for _ in $(seq 40); do
    window=$(xdotool search --onlyvisible --name '^Vornick$' 2>/dev/null | tail -n 1)
    [ -n "$window" ] && xdotool mousemove --window "$window" 380 200 click 1 2>/dev/null && return
    sleep 0.5
  done
  fail "no Vornick window"
}

await_exit() {
  for _ in $(seq 200); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "$1: did not quit"
  wait "$pid"
  local status=$?
  pid=
  [ "$status" -eq 0 ] || fail "$1: exit status $status"
  for key in "${keys[@]}"; do
    grep -q "^$key=" "$file" || fail "$1: $key not saved: $(cat "$file" 2>&1)"
  done
  grep -q '^iNumOrgs=784$' "$file" || fail "$1: the organism count was not kept: $(cat "$file")"
  grep -q '^maxIters=10000000$' "$file" || fail "$1: unsound values saved: $(cat "$file")"
}

# Steps run back to back here; the loop must still let keys and menus through.
launch; focus
xdotool key ctrl+4; sleep 1; xdotool key ctrl+q
await_exit "Ctrl+Q at maximum speed"

launch; focus
xdotool key ctrl+4; sleep 1; xdotool key alt+f; sleep 0.5; xdotool key q
await_exit "the menu's Quit at maximum speed"

launch; focus
xdotool key ctrl+3; sleep 1; xdotool key ctrl+q
await_exit "Ctrl+Q in turbo"

for signal in TERM INT HUP; do
  launch; focus
  xdotool key ctrl+4; sleep 1; kill -"$signal" "$pid"
  await_exit "SIG$signal at maximum speed"
done
echo "quit cleanly by Ctrl+Q, the menu and SIGTERM, SIGINT and SIGHUP, settings saved"
