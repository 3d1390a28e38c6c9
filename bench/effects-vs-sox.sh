#!/usr/bin/env bash
# Effects against sox, in one run on one 10-minute 44.1 kHz stereo 16-bit file:
#   - the yardstick: copying the file's samples into newly allocated buffers;
#   - our in-memory time for each effect family (tonbrisk-bench, Release);
#   - sox's cost for its nearest effect: `sox -D in.wav out.wav EFFECT` minus
#     the plain `sox -D in.wav out.wav` copy (best of several runs each).
# It prints one table with the ratios and the targets they are held to.
#
# Usage: bench/effects-vs-sox.sh [--no-build]
# Environment: TONBRISK_RELEASE_DIR (build directory, default build-release),
#   TONBRISK_BENCH_FILTER (benchmark regex, default the effect families),
#   SOX_RUNS (default 5), BENCH_REPETITIONS (default 5). On a shared machine
#   the best run of each side counts (others' load only ever adds time).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${TONBRISK_RELEASE_DIR:-$root/build-release}
runs=${SOX_RUNS:-5}
repetitions=${BENCH_REPETITIONS:-5}
do_build=1
[[ ${1:-} == --no-build ]] && do_build=0

as_root() { if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi; }
need() {  # command, package
  command -v "$1" >/dev/null 2>&1 && return
  echo "installing $2" >&2
  as_root apt-get install -y "$2" >/dev/null
}
need sox sox
need python3 python3

if [[ $do_build -eq 1 ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONBRISK_BENCH=ON >/dev/null
  ninja -C "$build" tonbrisk-bench >/dev/null
fi
bench=$build/bench/tonbrisk-bench
[[ -x $bench ]] || { echo "no $bench" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
in=$work/in.wav
out=$work/out.wav
# Pink noise, repeatable (-R), 16-bit stereo, ten minutes.
sox -R -n -r 44100 -c 2 -b 16 "$in" synth 600 pinknoise vol 0.5

# Best wall time of $runs runs of one sox command, in milliseconds.
sox_ms() {
  local best="" t
  for ((i = 0; i < runs; i++)); do
    local start end
    start=$(date +%s%N)
    sox -V1 -D "$in" "$out" "$@"
    end=$(date +%s%N)
    t=$(((end - start) / 1000))
    if [[ -z $best || $t -lt $best ]]; then best=$t; fi
  done
  rm -f "$out"
  awk -v us="$best" 'BEGIN { printf "%.1f", us / 1000 }'
}

declare -A sox_times
sox_times[copy]=$(sox_ms)
sox_times[vol]=$(sox_ms vol 0.5)
sox_times[reverse]=$(sox_ms reverse)
sox_times[dcshift]=$(sox_ms dcshift 0.1)
sox_times[lowpass]=$(sox_ms lowpass -1 1000)
sox_times[highpass]=$(sox_ms highpass -1 1000)
sox_times[echo]=$(sox_ms echo 0.8 0.9 100 0.5 200 0.4 300 0.3 400 0.2)
sox_times[tempo]=$(sox_ms tempo 1.25)
sox_times[speed]=$(sox_ms speed 1.5 rate -q)
# The same output length as our lengthFactor 1.5 (speed 1.5 makes 2/3 of it).
sox_times[speedlong]=$(sox_ms speed 0.666667 rate -q)

json=$work/ours.json
families='^BM_(CopyYardstick|TempoCopyYardstick|Volume|Reverse|Up|Block|LowPass|HighPass|Resonant|Notch|BlockFilter|EchoConstant|Balance|Sinus|MultiFreq|LengthFactor|TempoPitch)'
TONBRISK_BENCH_WAV=$in "$bench" --benchmark_filter="${TONBRISK_BENCH_FILTER:-$families}" \
  --benchmark_repetitions="$repetitions" \
  --benchmark_out="$json" --benchmark_out_format=json >/dev/null 2>"$work/bench.err" ||
  { cat "$work/bench.err" >&2; exit 1; }

sox_args=()
for key in "${!sox_times[@]}"; do sox_args+=("$key=${sox_times[$key]}"); done

python3 - "$json" "${sox_args[@]}" <<'EOF'
import json
import re
import sys

SCALE = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}

# Best real time per iteration over the repetitions, in ms, keyed by the run
# name with its arguments (e.g. "BM_LowPass/4").
times = {}
with open(sys.argv[1]) as f:
    for b in json.load(f)["benchmarks"]:
        if b.get("error_occurred") or b.get("run_type") == "aggregate":
            continue
        name = b.get("run_name", b["name"])
        ms = b["real_time"] * SCALE[b.get("time_unit", "ns")]
        times[name] = min(ms, times.get(name, ms))

sox = {k: float(v) for k, v in (a.split("=", 1) for a in sys.argv[2:])}
sox_cost = {k: max(v - sox["copy"], 0.0) for k, v in sox.items() if k != "copy"}


def find(*patterns):
    """First benchmark whose name matches one of the patterns (in order)."""
    for pattern in patterns:
        for name in sorted(times):
            if re.fullmatch(pattern, name, re.IGNORECASE):
                return name
    return None


yard_name = find(r"BM_CopyYardstick.*", r"BM_TempoCopyYardstick.*", r"BM_.*Yardstick.*")
yard = times.get(yard_name)

# (label, benchmark patterns, passes, sox effect, target kind, limit)
#   kind "yard": ours / yardstick <= limit
#   kind "sox":  ours per pass / sox cost <= limit
#   kind "":     reported only
rows = [
    ("Volume", [r"BM_(Sound)?Volume(/.*)?", r"BM_Volume\w*Constant.*"], 1, "vol", "yard", 4),
    ("Reverse", [r"BM_(Sound)?Reverse(/.*)?"], 1, "reverse", "yard", 4),
    ("Up", [r"BM_(Sound)?Up(/.*)?"], 1, "dcshift", "yard", 4),
    ("Block", [r"BM_(Sound)?Block(/.*)?"], 1, None, "yard", 4),
    ("lowPass count 1", [r"BM_LowPass\w*/1", r"BM_LowPass\w*1"], 1, "lowpass", "sox", 0.6),
    ("lowPass count 4", [r"BM_LowPass\w*/4", r"BM_LowPass\w*4"], 4, "lowpass", "sox", 0.6),
    ("highPass count 1", [r"BM_HighPass\w*/1", r"BM_HighPass\w*1"], 1, "highpass", "sox", 0.6),
    ("highPass count 4", [r"BM_HighPass\w*/4", r"BM_HighPass\w*4"], 4, "highpass", "sox", 0.6),
    ("resonant", [r"BM_Resonant(/.*)?"], 1, None, "", None),
    ("notch", [r"BM_Notch(/.*)?"], 1, None, "", None),
    ("blockFilter", [r"BM_BlockFilter(/.*)?"], 1, None, "", None),
    ("echoConstant count 4", [r"BM_EchoConstant(/4)?", r"BM_EchoConstant.*"], 1, "echo", "sox", 0.5),
    ("lengthFactor 1.5", [r"BM_LengthFactor.*"], 1, "speed", "sox", 1.0),
    ("lengthFactor 1.5 (same length)", [r"BM_LengthFactor.*"], 1, "speedlong", "", None),
    ("tempoPitchBlocks 1.25", [r"BM_TempoPitchBlocks.*"], 1, "tempo", "sox", 0.2),
    ("tempoPitchCross 1.25", [r"BM_TempoPitchCross.*"], 1, "tempo", "", None),
    ("Balance time", [r"BM_Balance/(option:)?0", r"BM_Balance\w*Time\w*(/.*)?"], 1, None, "", None),
    ("Balance volume", [r"BM_Balance/(option:)?1", r"BM_Balance\w*Volume\w*(/.*)?"], 1, None, "", None),
    ("Balance filter", [r"BM_Balance/(option:)?2", r"BM_Balance\w*Filter\w*(/.*)?"], 1, None, "", None),
    ("sinus (generate)", [r"BM_Sinus(/.*)?"], 1, None, "", None),
    ("multiFreq 8 (generate)", [r"BM_MultiFreq\w*(/.*)?"], 1, None, "", None),
]

sox_label = {
    "vol": "vol 0.5", "reverse": "reverse", "dcshift": "dcshift 0.1",
    "lowpass": "lowpass -1 1000", "highpass": "highpass -1 1000",
    "echo": "echo (4 echoes)", "tempo": "tempo 1.25", "speed": "speed 1.5 rate -q",
    "speedlong": "speed 0.666667 rate -q",
}


def fmt(value, digits=1):
    return "n/a" if value is None else f"{value:.{digits}f}"


header = ("operation", "benchmark", "ours ms", "÷ yardstick", "sox effect", "sox cost ms",
          "ours/pass ÷ sox", "target", "met")
lines = [header]
lines.append(("copy yardstick", yard_name or "n/a", fmt(yard), "1.00", "plain copy",
              fmt(sox["copy"]) + " (total)", "", "", ""))
for label, patterns, passes, effect, kind, limit in rows:
    name = find(*patterns)
    ours = times.get(name)
    by_yard = ours / yard if ours is not None and yard else None
    cost = sox_cost.get(effect) if effect else None
    by_sox = ours / passes / cost if ours is not None and cost else None
    target, met = "", ""
    if kind == "yard":
        target = f"≤ {limit}× yardstick"
        met = "n/a" if by_yard is None else ("yes" if by_yard <= limit else "NO")
    elif kind == "sox":
        target = f"≤ {limit}× sox" + (" per pass" if passes > 1 or "Pass" in label else "")
        met = "n/a" if by_sox is None else ("yes" if by_sox <= limit else "NO")
    lines.append((label, name or "n/a", fmt(ours), fmt(by_yard, 2),
                  sox_label.get(effect, "—") if effect else "—", fmt(cost), fmt(by_sox, 2),
                  target, met))

widths = [max(len(str(line[i])) for line in lines) for i in range(len(header))]
for n, line in enumerate(lines):
    print("  ".join(str(cell).ljust(widths[i]) for i, cell in enumerate(line)).rstrip())
    if n == 0:
        print("  ".join("-" * w for w in widths))
print()
print("sox runs (best of several, ms): " +
      ", ".join(f"{k} {v:.1f}" for k, v in sorted(sox.items())))
EOF
