#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds, then runs the application or every test.
#   tools/build.sh run    build and launch Vornick
#   tools/build.sh test   build and pass every test (under Xvfb when there is no display)
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-run}
case "$mode" in run | test) ;; *) echo "usage: $0 run|test" >&2; exit 2 ;; esac

packages=(cmake g++ make pkg-config qt6-base-dev libqt6opengl6-dev libgl-dev libglu1-mesa-dev
          libgl1-mesa-dri libgtest-dev libbenchmark-dev fonts-dejavu-core)
# The desktop entry and the run-file type are checked with these when they are there.
[ "$mode" = test ] && packages+=(xvfb xauth xdotool desktop-file-utils libxml2-utils shared-mime-info)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

build=${VORNICK_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j"$(nproc)"

if [ "$mode" = run ]; then
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No display to open the window on (DISPLAY is not set)." >&2
    exit 1
  fi
  exec "$build/app/vornick"
fi

# Windows and GL contexts need an X server; a private Xvfb keeps tests off the user's desktop.
cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2
