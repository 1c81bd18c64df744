#!/usr/bin/env bash
# Starts the real program where no window can be shown or drawn: no display, a display that is
# not there, platforms without a screen, and GL contexts without what the drawing needs (Mesa's
# overrides make those on any machine). Each must end at once with status 1 and one line on
# stderr naming what is missing: never a signal, never a window.
set -uo pipefail
binary=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
failed=0

# expect <what the line must say> <env assignments...>; `-DISPLAY` unsets DISPLAY.
expect() {
  local want=$1
  shift
  local unset=() set=()
  for a in "$@"; do
    if [ "${a:0:1}" = - ]; then unset+=(-u "${a:1}"); else set+=("$a"); fi
  done
  env "${unset[@]}" "${set[@]}" timeout 20 "$binary" >"$work/out" 2>"$work/err"
  local status=$?
  local ours
  ours=$(grep -c '^vornick: ' "$work/err")
  # Only a GL driver's own loader may add lines of its own.
  local others
  others=$(grep -v -e '^vornick: ' -e '^libGL error: ' "$work/err" | grep -c .)
  if [ "$status" -ne 1 ] || [ "$ours" -ne 1 ] || [ "$others" -ne 0 ] ||
    ! grep -q "^vornick: .*$want" "$work/err"; then
    echo "FAIL [$*]: status $status, wanted 1 and one line saying '$want'; stderr:"
    cat "$work/err"
    failed=1
  else
    echo "ok   [$*]: $(grep '^vornick: ' "$work/err")"
  fi
  [ -e "$XDG_CONFIG_HOME/Vornick prefs.conf" ] && { echo "FAIL [$*]: saved settings"; failed=1; }
}

expect "neither DISPLAY nor WAYLAND_DISPLAY is set" -DISPLAY -WAYLAND_DISPLAY
expect "DISPLAY is not set" -DISPLAY QT_QPA_PLATFORM=xcb
expect "DISPLAY is not set" -DISPLAY WAYLAND_DISPLAY=vornick-no-such-wayland
expect "cannot connect to DISPLAY=:4099" DISPLAY=:4099
expect "\"offscreen\" shows no windows" QT_QPA_PLATFORM=offscreen
expect "\"offscreen\" shows no windows" -DISPLAY QT_QPA_PLATFORM=offscreen
expect "\"minimal\" shows no windows" QT_QPA_PLATFORM=minimal
expect "\"no-such-platform\" did not start" QT_QPA_PLATFORM=no-such-platform
expect "no OpenGL context could be made" LIBGL_DRIVERS_PATH=/nonexistent
expect "lacks the compatibility profile" MESA_GL_VERSION_OVERRIDE=3.2FC
expect "lacks the compatibility profile" MESA_GL_VERSION_OVERRIDE=3.0FC
expect "lacks rectangle textures" \
  "MESA_EXTENSION_OVERRIDE=-GL_ARB_texture_rectangle -GL_NV_texture_rectangle -GL_EXT_texture_rectangle"
exit $failed
