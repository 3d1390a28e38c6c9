#!/usr/bin/env bash
# Tonbrisk against sox, in one run on one 10-minute 44.1 kHz stereo 16-bit
# file (repeatable pink noise, made with the same sox command as
# effects-vs-sox.sh, so both see the same bytes):
#   1. tonbrisk-cli convert against sox: a plain copy to a new file (target:
#      ratio <= 0.5), the same copy replacing an existing output, and a change
#      to 22050 Hz;
#   2. effects-vs-sox.sh: the copy yardstick, our in-memory time for each
#      effect and sox's cost for its nearest effect;
#   3. apply-vs-sox.sh: whole-process `tonbrisk-cli apply` runs against the
#      nearest sox command, with ratios, peak memory and their targets.
# Each command runs several times (best time counts) with the file in the page
# cache. A part that cannot run prints "n/a" and the rest still runs.
#
# Usage: bench/vs-sox.sh [--no-build]
# Environment: TONBRISK_RELEASE_DIR (build directory, default build-release),
#   RUNS (default 3; also the sox runs and benchmark repetitions of part 2).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${TONBRISK_RELEASE_DIR:-$root/build-release}
runs=${RUNS:-3}
do_build=1
[[ ${1:-} == --no-build ]] && do_build=0

as_root() { if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi; }
need() {  # file or command, package
  command -v "$1" >/dev/null 2>&1 && return
  echo "installing $2" >&2
  as_root apt-get install -y "$2" >/dev/null
}
need sox sox
need /usr/bin/time time

cli=$build/src/cli/tonbrisk-cli
bench=$build/bench/tonbrisk-bench
if [[ $do_build -eq 1 || ! -x $cli ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONBRISK_TESTS=OFF \
    -DTONBRISK_BENCH=ON >/dev/null
  targets=(tonbrisk-cli)
  # The benchmark target exists only where Google Benchmark is installed.
  if ninja -C "$build" -t targets all 2>/dev/null | grep -q '^tonbrisk-bench:'; then
    targets+=(tonbrisk-bench)
  fi
  ninja -C "$build" -j2 "${targets[@]}" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
in=$work/in.wav
out=$work/out.wav
sox -R -n -r 44100 -c 2 -b 16 "$in" synth 600 pinknoise vol 0.5
cat "$in" >/dev/null  # into the page cache

# Best wall time in seconds and the largest peak memory in MiB of `runs`
# runs, as "seconds MiB", or "n/a n/a" when the command fails. Each run writes
# a new file unless KEEP_OUT=1, when it replaces the previous run's output.
best() {
  local best_ns="" kib=0 start end k
  for ((i = 0; i < runs; i++)); do
    [[ ${KEEP_OUT:-0} == 1 ]] || rm -f "$out"
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null 2>"$work/err" || {
      echo "failed: $*: $(head -c 300 "$work/err")" >&2
      echo "n/a n/a"
      return
    }
    end=$(date +%s%N)
    if [[ -z $best_ns || $((end - start)) -lt $best_ns ]]; then best_ns=$((end - start)); fi
    k=$(tail -n 1 "$work/rss")
    ((k > kib)) && kib=$k
  done
  rm -f "$out"
  awk -v ns="$best_ns" -v k="$kib" 'BEGIN { printf "%.3f %.1f\n", ns / 1e9, k / 1024 }'
}

# The same with an output file of the same size already there (an untimed
# first run makes it): replacing a file costs the file system more.
best_replacing() {
  rm -f "$out"
  "$@" >/dev/null 2>&1 || true
  KEEP_OUT=1 best "$@"
}

row() {  # label, "ours seconds MiB", "sox seconds MiB"
  local a a_mib b b_mib
  read -r a a_mib <<<"$2"
  read -r b b_mib <<<"$3"
  awk -v l="$1" -v a="$a" -v b="$b" -v am="$a_mib" -v bm="$b_mib" 'BEGIN {
    r = (a == "n/a" || b == "n/a" || b == 0) ? "n/a" : sprintf("%.2f", a / b)
    printf "%-32s %10s %10s %8s %10s %10s\n", l, a, b, r, am, bm
  }'
}

echo "=== 1. tonbrisk-cli convert against sox"
echo "file: $in ($(stat -c %s "$in") bytes), best of $runs runs, seconds; peak RSS in MiB"
printf "%-32s %10s %10s %8s %10s %10s\n" "case" "tonbrisk" "sox" "ratio" "ours MiB" "sox MiB"
copy_ours=$(best "$cli" convert "$in" "$out")
copy_sox=$(best sox "$in" "$out")
row "copy" "$copy_ours" "$copy_sox"
row "copy, replacing OUT" "$(best_replacing "$cli" convert "$in" "$out")" \
  "$(best_replacing sox "$in" "$out")"
rate_ours=$(best "$cli" convert "$in" "$out" --frequency 22050)
rate_sox=$(best sox "$in" "$out" rate 22050)
rate_sox_quick=$(best sox "$in" "$out" rate -q 22050)
row "22050 Hz (sox rate)" "$rate_ours" "$rate_sox"
row "22050 Hz (sox rate -q)" "$rate_ours" "$rate_sox_quick"
awk -v a="${copy_ours%% *}" -v b="${copy_sox%% *}" 'BEGIN {
  if (a == "n/a" || b == "n/a" || b == 0) { print "copy target: ratio <= 0.50: n/a"; exit }
  r = a / b; printf "copy target: ratio <= 0.50: %s (%.2f)\n", r <= 0.5 ? "met" : "NOT met", r
}'

echo
echo "=== 2. in-memory effects against sox's effect costs (effects-vs-sox.sh)"
if [[ -x $bench && -f $root/bench/effects-vs-sox.sh ]]; then
  TONBRISK_BENCH_WAV=$in TONBRISK_RELEASE_DIR=$build SOX_RUNS=$runs BENCH_REPETITIONS=$runs \
    bash "$root/bench/effects-vs-sox.sh" --no-build ||
    echo "n/a (effects-vs-sox.sh failed)"
else
  echo "n/a (no $bench: Google Benchmark missing?)"
fi

echo
echo "=== 3. tonbrisk-cli apply against sox, whole process (apply-vs-sox.sh)"
RUNS=$runs TONBRISK_RELEASE_DIR=$build bash "$root/bench/apply-vs-sox.sh" --no-build "$in" ||
  echo "n/a (apply-vs-sox.sh failed)"
