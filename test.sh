#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the unit,
# command-line and desktop tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, the desktop editor's screenshot smoke test on
# that build, and the fuzz targets side by side for 60 seconds each when clang
# is there.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh

jobs=${JOBS:-2}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

echo "== sanitized build and tests"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONBRISK_SANITIZE=ON \
  -DTONBRISK_WERROR=ON >/dev/null
ninja -C build-asan -j"$jobs"
# A private sound server for the play and record tests (and the smoke test).
eval "$(scripts/soundserver.sh start)"
trap 'scripts/soundserver.sh stop' EXIT
ctest --test-dir build-asan -j"$jobs" --output-on-failure --timeout 300

# The program in the sanitized build is optimised (RelWithDebInfo), and the
# benchmarks are built there too, so the desktop smoke test runs on it rather
# than on a second build of everything. Qt's own allocations at exit are not ours to report.
if [ -x build-asan/src/app/tonbrisk ]; then
  echo "== desktop editor smoke test (screenshots in build-asan/screenshots)"
  ASAN_OPTIONS=detect_leaks=0 scripts/screenshot.sh build-asan
fi

if command -v clang++ >/dev/null; then
  echo "== fuzzing"
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DTONBRISK_FUZZ=ON >/dev/null
  ninja -C build-fuzz -j"$jobs"
  # The targets run side by side, 60 seconds each, sharing the cores.
  names=()
  pids=()
  for fuzzer in build-fuzz/fuzz/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    seeds="fuzz/corpus_${name#fuzz_}"
    mkdir -p "build-fuzz/run/$name"
    rm -rf "build-fuzz/run/$name"/*
    [ -d "$seeds" ] && cp -r "$seeds"/. "build-fuzz/run/$name"/
    echo "-- $name (60 s)"
    "$fuzzer" -max_total_time=60 -print_final_stats=0 -close_fd_mask=3 "build-fuzz/run/$name" \
      2>"build-fuzz/run/$name.log" &
    names+=("$name")
    pids+=($!)
  done
  failed=0
  for i in "${!pids[@]}"; do
    if ! wait "${pids[$i]}"; then
      tail -50 "build-fuzz/run/${names[$i]}.log"
      echo "${names[$i]} failed" >&2
      failed=1
    fi
  done
  [ "$failed" -eq 0 ] || exit 1
else
  echo "== clang not found: fuzzing skipped"
fi
echo "== all tests passed"
