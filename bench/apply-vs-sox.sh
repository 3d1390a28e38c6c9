#!/usr/bin/env bash
# Whole-process runs of `tonbrisk-cli apply` against the nearest sox command on
# one file (by default a 10-minute 44.1 kHz stereo 16-bit pink noise): best
# wall time of several runs with the file in the page cache, the ratio
# tonbrisk / sox, and the peak resident memory of each (GNU time). Targets:
# a simple effect (Volume, Reverse) takes at most half of sox's time end to
# end; the peak memory is at most 3 times the sound in memory (values x
# channels x 2 bytes) plus 30 MiB. The other effects are held to the same
# time bar for information; their marks are in brackets.
#
# Usage: bench/apply-vs-sox.sh [--no-build] [IN.wav]
# Environment: TONBRISK_RELEASE_DIR (build directory, default build-release),
#   RUNS (default 3).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${TONBRISK_RELEASE_DIR:-$root/build-release}
runs=${RUNS:-3}
do_build=1
if [[ ${1:-} == --no-build ]]; then
  do_build=0
  shift
fi
given_in=${1:-}

as_root() { if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi; }
need() {  # file or command, package
  command -v "$1" >/dev/null 2>&1 && return
  echo "installing $2" >&2
  as_root apt-get install -y "$2" >/dev/null
}
need sox sox
need /usr/bin/time time

cli=$build/src/cli/tonbrisk-cli
if [[ $do_build -eq 1 || ! -x $cli ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONBRISK_TESTS=OFF >/dev/null
  ninja -C "$build" -j2 tonbrisk-cli >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [[ -n $given_in ]]; then
  in=$given_in
else
  in=$work/in.wav
  sox -R -n -r 44100 -c 2 -b 16 "$in" synth 600 pinknoise vol 0.5
fi
out=$work/out.wav
cat "$in" >/dev/null  # into the page cache

# The sound as the program holds it: 16-bit values, whatever the file's bits.
values=$("$cli" info "$in" | awk '$1 == "values:" { print $2 }')
channels=$("$cli" info "$in" | awk '$1 == "channels:" { print $2 }')
sound_bytes=$((values * channels * 2))
mem_target_kib=$(((3 * sound_bytes + 30 * 1024 * 1024) / 1024))

# One run of a command under GNU time: prints "milliseconds peak-KiB", or
# nothing when the command failed (its messages go to $work/last.err).
run_once() {
  local start end
  rm -f "$out"
  start=$(date +%s%N)
  if ! /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null 2>"$work/last.err"; then
    return 0
  fi
  end=$(date +%s%N)
  awk -v ns=$((end - start)) -v kib="$(tail -n 1 "$work/rss")" 'BEGIN { printf "%.1f %d\n", ns / 1e6, kib }'
}

# Runs ours and sox's in turn (so a burst of load on the shared machine hits
# both alike) and keeps each one's best time and largest peak memory.
# Prints "ours_ms ours_kib sox_ms sox_kib", with "n/a" for a failed side.
compare() {  # ours command ... -- sox command ...
  local ours=() theirs=() side=ours arg
  for arg in "$@"; do
    if [[ $side == ours && $arg == --- ]]; then side=sox; continue; fi
    if [[ $side == ours ]]; then ours+=("$arg"); else theirs+=("$arg"); fi
  done
  local o_ms=n/a o_kib=0 s_ms=n/a s_kib=0 r ms kib
  for ((i = 0; i < runs; i++)); do
    r=$(run_once "${ours[@]}")
    if [[ -n $r ]]; then
      read -r ms kib <<<"$r"
      if [[ $o_ms == n/a ]] || awk -v a="$ms" -v b="$o_ms" 'BEGIN { exit !(a < b) }'; then o_ms=$ms; fi
      ((kib > o_kib)) && o_kib=$kib
    else
      echo "failed: ${ours[*]}: $(head -c 300 "$work/last.err")" >&2
    fi
    r=$(run_once "${theirs[@]}")
    if [[ -n $r ]]; then
      read -r ms kib <<<"$r"
      if [[ $s_ms == n/a ]] || awk -v a="$ms" -v b="$s_ms" 'BEGIN { exit !(a < b) }'; then s_ms=$ms; fi
      ((kib > s_kib)) && s_kib=$kib
    else
      echo "failed: ${theirs[*]}: $(head -c 300 "$work/last.err")" >&2
    fi
  done
  rm -f "$out"
  [[ $o_ms == n/a ]] && o_kib=n/a
  [[ $s_ms == n/a ]] && s_kib=n/a
  echo "$o_ms $o_kib $s_ms $s_kib"
}

# Output lengths, to see that both sides made a comparable sound.
out_seconds() {  # command ...
  rm -f "$out"
  "$@" >/dev/null 2>&1 || { echo n/a; return; }
  local d
  d=$(sox --i -D "$out" 2>/dev/null) || { echo n/a; return; }
  awk -v d="$d" 'BEGIN { printf "%.3f", d }'
}

printf 'file: %s (%s bytes, %s values x %s channels; sound in memory %.1f MiB)\n' \
  "$in" "$(stat -c %s "$in")" "$values" "$channels" "$(awk -v b=$sound_bytes 'BEGIN { print b / 1048576 }')"
printf 'best of %s runs (wall ms), peak RSS the largest of the runs (MiB, GNU time %%M)\n' "$runs"
printf 'memory target: 3 x sound + 30 MiB = %.1f MiB\n\n' "$(awk -v k=$mem_target_kib 'BEGIN { print k / 1024 }')"

# label, simple (1: the time target holds; 0: for information), our command
# after "apply IN OUT", "---", sox's effect after "sox IN OUT".
cases=(
  "Volume|1|Volume|Constant=50 %|---|vol|0.5"
  "Reverse|1|Reverse|---|reverse"
  "FilterLow|0|FilterLow|Frequency=1 kHz|---|lowpass|-1|1000"
  "PerEcho|0|PerEcho|Time=100 ms|Volume Constant=50 %|Count=4|---|echo|0.8|0.9|100|0.5|200|0.25|300|0.125|400|0.0625"
  "TempoPitch|0|TempoPitch|Speed Factor=125 %|Frequency Factor=100 %|Length Factor=80 %|---|tempo|1.25"
)

fmt='%-11s %-56s %9s %9s %6s %6s %9s %9s %7s\n'
printf "$fmt" "command" "sox" "ours ms" "sox ms" "ratio" "<=0.5" "ours MiB" "sox MiB" "mem ok"
printf "$fmt" "-------" "---" "-------" "------" "-----" "-----" "--------" "-------" "------"
lengths=()
for c in "${cases[@]}"; do
  IFS='|' read -r -a f <<<"$c"
  label=${f[0]}
  simple=${f[1]}
  ours=("$cli" apply "$in" "$out")
  sox_effect=()
  side=ours
  for arg in "${f[@]:2}"; do
    if [[ $arg == --- ]]; then side=sox; continue; fi
    if [[ $side == ours ]]; then ours+=("$arg"); else sox_effect+=("$arg"); fi
  done
  theirs=(sox -V1 "$in" "$out" "${sox_effect[@]}")
  read -r o_ms o_kib s_ms s_kib <<<"$(compare "${ours[@]}" --- "${theirs[@]}")"
  lengths+=("$label $(out_seconds "${ours[@]}") s / sox $(out_seconds "${theirs[@]}") s")
  awk -v label="$label" -v sox="sox ${sox_effect[*]}" -v om="$o_ms" -v sm="$s_ms" \
    -v ok="$o_kib" -v sk="$s_kib" -v simple="$simple" -v mt="$mem_target_kib" -v fmt="$fmt" '
    function mib(k) { return k == "n/a" ? "n/a" : sprintf("%.1f", k / 1024) }
    BEGIN {
      ratio = "n/a"; tmet = "n/a"; mmet = "n/a"
      if (om != "n/a" && sm != "n/a" && sm > 0) {
        r = om / sm; ratio = sprintf("%.2f", r)
        tmet = r <= 0.5 ? "yes" : "NO"
        if (!simple) tmet = "(" tolower(tmet) ")"
      }
      if (ok != "n/a") mmet = ok <= mt ? "yes" : "NO"
      printf fmt, label, sox, om, sm, ratio, tmet, mib(ok), mib(sk), mmet
    }'
done
echo
echo "output lengths: $(IFS=';'; echo "${lengths[*]}" | sed 's/;/; /g')"
