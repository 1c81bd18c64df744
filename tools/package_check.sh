#!/usr/bin/env bash
# Builds the Debian package as a packager would (no tests, no benchmarks), installs it into this
# machine with apt-get, and checks what a user then finds: vornick-trace reproducing the first
# step of seed 1, the manual pages, run files opening with Vornick, the desktop entry and the
# metainfo as installed. Debian 12, as root; .ci/run calls it after the tests. The package is
# removed again at the end unless it was installed before.
#   VORNICK_PACKAGE_DIR picks the build folder (default build-deb).
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "package check: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "run as root: it installs the package"

# What building the package, installing it and looking at it need. The desktop-file and
# shared-mime-info tools come first, so that their triggers see the package arrive.
packages=(cmake g++ make pkg-config qt6-base-dev libqt6opengl6-dev libgl-dev libglu1-mesa-dev
          libgif-dev libpng-dev zlib1g-dev dpkg-dev file man-db xdg-utils desktop-file-utils
          shared-mime-info appstream)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

was_installed=no
dpkg-query -W -f='${Status}' vornick 2>/dev/null | grep -q "install ok installed" && was_installed=yes
include=/etc/dpkg/dpkg.cfg.d/zz-vornick-check-man
cleanup() {
  rm -f "$include"
  if [ "$was_installed" = no ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y vornick >/dev/null 2>&1 || true
  fi
}
trap cleanup EXIT
# Images made for containers often keep dpkg from installing manual pages; let this package's in,
# as a desktop system would install them. Read after the exclusions, it overrides them.
if grep -qsE '^path-exclude[= ]/usr/share/man' /etc/dpkg/dpkg.cfg /etc/dpkg/dpkg.cfg.d/*; then
  echo 'path-include=/usr/share/man/man1/vornick*' >"$include"
fi

build=${VORNICK_PACKAGE_DIR:-build-deb}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVORNICK_BENCH=OFF
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/vornick_*.deb
(cd "$build" && cpack -G DEB)

version=$(sed -n 's/^project(vornick VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=$build/vornick_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb: $(ls "$build"/*.deb 2>&1)"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6opengl6 libgif7 libc6; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

DEBIAN_FRONTEND=noninteractive apt-get install -y --reinstall "$(realpath "$deb")"

# Every library the program needs came with the package's dependencies.
if ldd /usr/bin/vornick | grep -q "not found"; then
  fail "libraries missing: $(ldd /usr/bin/vornick | grep "not found")"
fi
# It starts, finds no display here, and says so.
status=0
out=$(env -u DISPLAY -u WAYLAND_DISPLAY vornick 2>&1) || status=$?
[ "$status" -eq 1 ] && [[ "$out" == *"no display"* ]] || fail "vornick without a display: $status $out"

# The first run of seed 1, one step on, as the trace tool prints it.
trace=$(vornick-trace --seed 1 --steps 1)
want=$'generated-seed 1920580197\niters 1\nseed 407934945\nstate running\norg 0 9 18 1\norg 1 16 27 3\norg 2 22 26 0\norg 3 27 5 3'
[[ "$trace" == *"$want" ]] || fail "vornick-trace --seed 1 --steps 1 printed: $trace"

for page in vornick vornick-trace; do
  path=$(man -w "$page") || fail "man -w $page finds no page"
  [ "$path" = "/usr/share/man/man1/$page.1.gz" ] || fail "man -w $page: $path"
  MANPAGER=cat MANWIDTH=80 man "$page" 2>/dev/null | grep -q "vornick-trace" || fail "man $page is empty"
done

default=$(xdg-mime query default application/x-vornick-run)
[ "$default" = vornick.desktop ] || fail "xdg-mime names '$default' for run files"
grep -q "application/x-vornick-run" /usr/share/mime/globs2 || fail "the run-file type is not in the MIME database"
desktop-file-validate /usr/share/applications/vornick.desktop
appstreamcli validate --no-net /usr/share/metainfo/io.github.vornick.Vornick.metainfo.xml >/dev/null ||
  fail "$(appstreamcli validate --no-net /usr/share/metainfo/io.github.vornick.Vornick.metainfo.xml)"

echo "package check: $deb installs, traces, has its manual pages and opens run files"
