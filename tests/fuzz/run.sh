#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (in build-fuzz/, or VORNICK_FUZZ_BUILD_DIR)
# and runs each from its corpus for a while. New inputs go to a scratch folder: the corpus in
# the repository is left as it is. An input that breaks a check is kept in build-fuzz/findings/.
# A target's dictionary of words, if any, is tests/fuzz/<target>.dict.
#   tests/fuzz/run.sh [seconds per target, default 20]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-20}
build=${VORNICK_FUZZ_BUILD_DIR:-build-fuzz}
targets=(fuzz_settings_file fuzz_prefs_fields fuzz_trace_args fuzz_run_file)

# clang and libFuzzer from Debian's packages.
missing=()
for p in clang-14 libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The core comes from the usual GCC build (see tests/fuzz/CMakeLists.txt).
gcc_build=${VORNICK_BUILD_DIR:-build}
[ -f "$gcc_build/CMakeCache.txt" ] || cmake -S . -B "$gcc_build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$gcc_build" -j2 --target vornick_core

sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined"
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVORNICK_FUZZ=ON -DVORNICK_FUZZ_CORE="$(cd "$gcc_build" && pwd)/sim/libvornick_core.a" \
  -DVORNICK_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link $sanitizers -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"

# A settings file's @Variant may declare a list of billions, for which Qt reserves room at once.
# In the program malloc gives null where the machine lacks the memory, and Qt's list stays
# empty. Here any allocation past libFuzzer's limit (2 GB, which it would count as running out
# of memory) fails in the same way, and the run goes on. Memory a target really takes is still
# held to libFuzzer's RSS limit.
export ASAN_OPTIONS=${ASAN_OPTIONS:-allocator_may_return_null=1:max_allocation_size_mb=2048}

findings=$build/findings
mkdir -p "$findings"
status=0
for target in "${targets[@]}"; do
  scratch=$(mktemp -d)
  log=$build/$target.log
  dict=()
  [ -f "tests/fuzz/$target.dict" ] && dict=(-dict="tests/fuzz/$target.dict")
  if "$build/tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "${dict[@]}" \
    -artifact_prefix="$findings/$target-" "$scratch" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: $runs executions in $seconds s, nothing found"
  else
    echo "$target: FOUND a problem; the input is in $findings:"
    grep -E 'not sound|ERROR|SUMMARY' "$log" | head -5
    status=1
  fi
  rm -rf "$scratch"
done
exit $status
