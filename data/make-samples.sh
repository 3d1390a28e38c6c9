#!/bin/sh
# Makes the demo's sample waves with tonbrisk-cli's own generators:
#   piano.wav  1 s of 440 Hz with a decaying octave (the simple sampler's sample)
#   organ.wav  one cycle of a sine (the roll-out wave form's cycle)
# Usage: data/make-samples.sh [path/to/tonbrisk-cli]
set -e
cli=${1:-tonbrisk-cli}
dir=$(dirname "$0")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# An empty score renders into an empty 22050 Hz mono 16-bit WAV file to start from.
sed -e '/<Note>/,/<\/Note>/d' "$dir/demo.tbm" > "$tmp/empty.tbm"
"$cli" render "$tmp/empty.tbm" "$tmp/empty.wav"
"$cli" apply "$tmp/empty.wav" "$dir/piano.wav" MakeMFreq 'Length=1 s' \
  'Frequency[1]=440 Hz' 'Start Volume[1]=40 %' 'Volume Factor[1]=5 %' 'Volume Factor at Time[1]=0.6 s' \
  'Frequency[2]=880 Hz' 'Start Volume[2]=15 %' 'Volume Factor[2]=5 %' 'Volume Factor at Time[2]=0.3 s'
"$cli" apply "$tmp/empty.wav" "$dir/organ.wav" MakeSinus 'Frequency=100 Hz' 'Count=1' 'Amplitude=50 %'
