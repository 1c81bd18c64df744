#!/usr/bin/env bash
# Launches the real program, lets it run, quits it with Ctrl+Q and checks that it ended well
# and saved its preferences.
set -euo pipefail
binary=$1
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
export XDG_CONFIG_HOME=$config

"$binary" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vornick$' | head -n 1)
sleep 2
xdotool windowfocus --sync "$window"
xdotool key ctrl+4  # maximum speed: Quit must still get through
sleep 1
xdotool key ctrl+q
status=0
timeout 20 tail --pid="$pid" -f /dev/null || { kill -9 "$pid"; echo "did not quit"; exit 1; }
wait "$pid" || status=$?
[ "$status" -eq 0 ] || { echo "exit status $status"; exit 1; }
file="$config/Vornick prefs.conf"
grep -q '^maxIters=10000000$' "$file" || { echo "preferences not saved:"; cat "$file"; exit 1; }
grep -q '^randomizeProg=no$' "$file"
echo "quit cleanly, preferences saved"
