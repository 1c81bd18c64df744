#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds, then runs the application or every test.
#   tools/build.sh run    build the application alone and launch it
#   tools/build.sh test   build everything and pass every test (under Xvfb when there is no display)
# VORNICK_BUILD_DIR picks the build folder (default build). VORNICK_SANITIZE=address,undefined
# builds with those sanitizers, without the benchmarks, and runs the tests under them;
# VORNICK_SANITIZE=thread builds the core, its tools and their tests for ThreadSanitizer (Qt and
# Mesa are not built for it, and it cannot be combined with the others).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-run}
case "$mode" in run | test) ;; *) echo "usage: $0 run|test" >&2; exit 2 ;; esac

# Without a display there is nothing to run the program on: say so before the build, not after.
if [ "$mode" = run ] && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display to open the window on (DISPLAY is not set); tools/build.sh test needs none." >&2
  exit 1
fi

packages=(cmake g++ make pkg-config qt6-base-dev libqt6opengl6-dev libgl-dev libglu1-mesa-dev
          libgl1-mesa-dri fonts-dejavu-core libgif-dev libpng-dev zlib1g-dev)
# The desktop entry, the run-file type, the metainfo and the manual pages are checked with these
# when they are there; the program is run natively on Wayland in a Weston nested in the test
# display; the accessibility tests switch Qt's accessibility on through its platform headers.
[ "$mode" = test ] && packages+=(libgtest-dev libbenchmark-dev xvfb xauth xdotool desktop-file-utils
                                 libxml2-utils shared-mime-info appstream groff-base weston
                                 qt6-wayland qt6-base-private-dev)

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
config=(-DCMAKE_BUILD_TYPE=Release)
if [ "$mode" = test ]; then
  config+=(-DBUILD_TESTING=ON -DVORNICK_BENCH=ON)
elif [ ! -f "$build/CMakeCache.txt" ]; then
  # Running needs neither the tests nor the benchmarks, nor what they are built with; a folder
  # that a test build made keeps them.
  config+=(-DBUILD_TESTING=OFF -DVORNICK_BENCH=OFF)
fi
preload=()
if [ -n "${VORNICK_SANITIZE:-}" ]; then
  flags="-fsanitize=$VORNICK_SANITIZE -fno-sanitize-recover=all -fno-omit-frame-pointer -g"
  config=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DVORNICK_BENCH=OFF
          "-DCMAKE_CXX_FLAGS=$flags" "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=$VORNICK_SANITIZE")
  # A finding fails the test that made it. Leaks of the libraries underneath are listed in
  # lsan.supp; the project's own are never suppressed. An allocation no machine could make
  # (a settings file may declare a list of billions, and Qt reserves room for it) gives null
  # as malloc does, since the program must cope with that; so does one past 2 GB, as on a
  # small machine.
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:verify_asan_link_order=0:allocator_may_return_null=1:max_allocation_size_mb=2048}
  export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
  export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}
  case "$VORNICK_SANITIZE" in
    *thread*)
      # Qt and Mesa are not built for it: their threads would be reported, not the core's.
      config+=(-DVORNICK_APP=OFF)
      ;;
    *)
      # Mesa loads its GL driver at run time and unloads it before the leak check, which then
      # finds the driver's blocks and cannot name its code. Loaded from the start, it stays.
      driver=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n 1 || true)
      [ -n "$driver" ] && preload=(env "LD_PRELOAD=$driver")
      ;;
  esac
fi
cmake -S . -B "$build" "${config[@]}"

if [ "$mode" = run ]; then
  # The application and what it bundles, not the tools, tests and benchmarks.
  cmake --build "$build" -j"$(nproc)" --target vornick
  exec "$build/app/vornick"
fi
cmake --build "$build" -j"$(nproc)"

# Windows and GL contexts need an X server; a private Xvfb keeps tests off the user's desktop.
cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" "${preload[@]}" ctest --output-on-failure -j2
