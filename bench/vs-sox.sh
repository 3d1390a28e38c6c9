#!/usr/bin/env bash
# tonbrisk-cli convert against sox on the same 10-minute 44.1 kHz stereo
# 16-bit file, in one run: a plain copy and a change to 22050 Hz. Each command
# runs several times (best time counts) with the file in the page cache, and
# the table shows the ratio tonbrisk / sox. The target for the copy is 0.5 or
# less.
#
# Usage: bench/vs-sox.sh [--no-build]
# Environment: TONBRISK_RELEASE_DIR (build directory, default build-release),
#   RUNS (default 3), WORK_DIR (default /tmp/tonbrisk-vs-sox).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${TONBRISK_RELEASE_DIR:-$root/build-release}
runs=${RUNS:-3}
work=${WORK_DIR:-/tmp/tonbrisk-vs-sox}
do_build=1
[[ ${1:-} == --no-build ]] && do_build=0

as_root() { if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi; }
if ! command -v sox >/dev/null 2>&1; then
  echo "installing sox" >&2
  as_root apt-get install -y sox >/dev/null
fi

cli=$build/src/cli/tonbrisk-cli
if [[ $do_build -eq 1 || ! -x $cli ]]; then
  if [[ ! -f $build/build.ninja ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  ninja -C "$build" tonbrisk-cli >/dev/null
fi

mkdir -p "$work"
in=$work/in.wav
out=$work/out.wav
if [[ ! -f $in ]]; then
  echo "making $in with sox" >&2
  sox -r 44100 -c 2 -n -b 16 "$in" synth 600 sine 440 sine 660 vol 0.6
fi
cat "$in" >/dev/null  # into the page cache

# Best wall-clock time in seconds of `runs` runs of the command.
best() {
  local best_time="" t
  for ((i = 0; i < runs; i++)); do
    rm -f "$out"
    t=$( { TIMEFORMAT=%R; time "$@" >/dev/null 2>&1; } 2>&1 )
    if [[ -z $best_time ]] || awk -v a="$t" -v b="$best_time" 'BEGIN { exit !(a < b) }'; then
      best_time=$t
    fi
  done
  rm -f "$out"
  echo "$best_time"
}

row() {  # label, tonbrisk time, sox time
  awk -v l="$1" -v a="$2" -v b="$3" 'BEGIN { printf "%-32s %10.3f %10.3f %8.2f\n", l, a, b, a / b }'
}

echo "file: $in ($(stat -c %s "$in") bytes), best of $runs runs, seconds"
printf "%-32s %10s %10s %8s\n" "case" "tonbrisk" "sox" "ratio"
copy_ours=$(best "$cli" convert "$in" "$out")
copy_sox=$(best sox "$in" "$out")
row "copy" "$copy_ours" "$copy_sox"
rate_ours=$(best "$cli" convert "$in" "$out" --frequency 22050)
rate_sox=$(best sox "$in" "$out" rate 22050)
rate_sox_quick=$(best sox "$in" "$out" rate -q 22050)
row "22050 Hz (sox rate)" "$rate_ours" "$rate_sox"
row "22050 Hz (sox rate -q)" "$rate_ours" "$rate_sox_quick"
awk -v a="$copy_ours" -v b="$copy_sox" \
  'BEGIN { r = a / b; printf "copy target: ratio <= 0.50: %s (%.2f)\n", r <= 0.5 ? "met" : "NOT met", r }'
