#!/usr/bin/env bash
# Launches the real program on hostile settings files: junk under every key, numbers out of
# range, 4 KB of random bytes, typed values declaring huge lists, a folder where the file should
# be, and a config folder that is a file. Each time it must start, run, and quit on SIGTERM with
# status 0; the save writes sound values back, or, where it cannot write, says so in one line
# naming the file.
set -uo pipefail
binary=$1
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
failed=0
fail() { echo "FAIL $*"; failed=1; }

# run_and_quit <label> <config home>: starts, lets it run, quits; the status must be 0.
run_and_quit() {
  XDG_CONFIG_HOME=$2 "$binary" 2>"$work/err" &
  pid=$!
  sleep 2.5
  kill -0 "$pid" 2>/dev/null || fail "$1: ended by itself: $(cat "$work/err")"
  kill -TERM "$pid"
  wait "$pid"
  local status=$?
  pid=
  [ "$status" -eq 0 ] || fail "$1: exit status $status: $(cat "$work/err")"
}

# Every key once, each within what the program needs.
expect_sound_file() {
  local file=$2
  if ! awk -F= -v label="$1" '
    function fail(why) { print "FAIL " label ": " why; bad = 1 }
    function integer(k, lo, hi) { if (v[k] !~ /^-?[0-9]+$/ || v[k] + 0 < lo || v[k] + 0 > hi) fail(k "=" v[k]) }
    function interval(k) { if (v[k] !~ /^[0-9.e+-]+$/ || v[k] + 0 < 1e-6 || v[k] + 0 > 10000) fail(k "=" v[k]) }
    function flag(k) { if (v[k] != "yes" && v[k] != "no") fail(k "=" v[k]) }
    /=/ { n[$1]++; v[$1] = substr($0, index($0, "=") + 1) }
    END {
      split("maxIters setStopPt stopIters slow fast turbo variable sliderVal iNumOrgs randINumOrgs rerunSavedSim savedSeed randomizeProg", keys, " ")
      for (i in keys) if (n[keys[i]] != 1) fail(keys[i] " written " n[keys[i]] + 0 " times")
      integer("maxIters", 0, 2147483647); integer("stopIters", 0, 2147483647)
      integer("iNumOrgs", 0, 784); integer("sliderVal", 0, 2000)
      integer("savedSeed", -2147483648, 2147483647)
      interval("slow"); interval("fast"); interval("turbo"); interval("variable")
      flag("setStopPt"); flag("randINumOrgs"); flag("rerunSavedSim"); flag("randomizeProg")
      exit bad
    }' "$file"; then
    failed=1
    return 1
  fi
}

expect_line() {
  grep -q "$2" "$3" || fail "$1: saved values: $(cat "$3")"
}

case_home() {
  mkdir -p "$work/$1"
  echo "$work/$1"
}

home=$(case_home junk)
{
  echo "[General]"
  for key in maxIters setStopPt stopIters slow fast turbo variable sliderVal iNumOrgs \
    randINumOrgs rerunSavedSim savedSeed randomizeProg; do
    echo "$key=junk text"
  done
} >"$home/Vornick prefs.conf"
run_and_quit "junk under every key" "$home"
expect_sound_file "junk under every key" "$home/Vornick prefs.conf"
expect_line "junk under every key" '^iNumOrgs=4$' "$home/Vornick prefs.conf"

home=$(case_home range)
printf '[General]\niNumOrgs=100000\nmaxIters=-1\nsliderVal=70000\nslow=0\nfast=-1\nturbo=1e300\nvariable=nan\nstopIters=inf\n' \
  >"$home/Vornick prefs.conf"
run_and_quit "out of range" "$home"
expect_sound_file "out of range" "$home/Vornick prefs.conf"
for line in iNumOrgs=784 maxIters=10000000 sliderVal=2000 slow=1e-06 fast=1 turbo=10000 \
  variable=1 stopIters=2000; do
  expect_line "out of range" "^$line\$" "$home/Vornick prefs.conf"
done

home=$(case_home random)
head -c 4096 /dev/urandom >"$home/Vornick prefs.conf"
cp "$home/Vornick prefs.conf" "$work/random-bytes"
run_and_quit "4 KB of random bytes" "$home"
expect_sound_file "4 KB of random bytes" "$home/Vornick prefs.conf" ||
  base64 "$work/random-bytes"

# Typed values that declare lists of half a billion and two billion entries, for which Qt
# reserves room before it finds the file holds none: a machine lacking the memory refuses the
# room, and the program must still start and load the key's default.
home=$(case_home lists)
cp "$(dirname "$0")/../fuzz/corpus/fuzz_settings_file/huge_lists" "$home/Vornick prefs.conf"
run_and_quit "typed values declaring huge lists" "$home"
expect_sound_file "typed values declaring huge lists" "$home/Vornick prefs.conf"
for line in maxIters=10000000 slow=2 iNumOrgs=4 savedSeed=7; do
  expect_line "typed values declaring huge lists" "^$line\$" "$home/Vornick prefs.conf"
done

# Where the save cannot write: one line on stderr with the file's path and the reason.
home=$(case_home folder)
mkdir "$home/Vornick prefs.conf"
run_and_quit "a folder in place of the file" "$home"
[ "$(grep -c "^vornick: preferences not saved to $home/Vornick prefs.conf: a folder" "$work/err")" -eq 1 ] ||
  fail "a folder in place of the file: stderr: $(cat "$work/err")"

home=$(case_home file)
touch "$home/config"
run_and_quit "a config folder that is a file" "$home/config"
[ "$(grep -c "^vornick: preferences not saved to .*: .* is not a folder" "$work/err")" -eq 1 ] ||
  fail "a config folder that is a file: stderr: $(cat "$work/err")"

[ "$failed" -eq 0 ] && echo "started, ran and quit with status 0 on every hostile settings file"
exit $failed
