#!/usr/bin/env bash
# A private PulseAudio server with a null output, for the tests that play
# and record through the real audio system.
#
#   eval "$(scripts/soundserver.sh start)"   # exports XDG_RUNTIME_DIR and
#                                            # TB_SOUND_PID, TB_SOUND_REC_PID,
#                                            # TB_SOUND_DIR
#   scripts/soundserver.sh stop              # stops them by their pids
#
# The server has one output, "Null Output", that plays into nothing, and
# one input, "Null Input", that records silence in real time. (Qt lists no
# monitor as an input, and a remapped monitor of the null output delivered
# no data here.) When no server can be started, start says why on standard error
# and exports nothing: the audio tests then report themselves skipped.
set -euo pipefail

case "${1:-}" in
  start)
    command -v pulseaudio >/dev/null ||
      { echo "soundserver.sh: pulseaudio is missing (scripts/deps.sh)" >&2; exit 0; }
    dir=$(mktemp -d "${TMPDIR:-/tmp}/tbsound.XXXXXX")
    # Running as root is allowed for a private server (PulseAudio warns).
    if ! XDG_RUNTIME_DIR=$dir pulseaudio -n --daemonize=yes --exit-idle-time=-1 \
        --disallow-exit --log-target=file:"$dir/log" \
        -L "module-null-sink sink_name=tbnull" \
        -L "module-null-source source_name=tbrec" \
        -L module-native-protocol-unix 2>>"$dir/log"; then
      echo "soundserver.sh: pulseaudio did not start: $(tail -3 "$dir/log" | tr '\n' ' ')" >&2
      rm -rf "$dir"
      exit 0
    fi
    pid=""
    for _ in $(seq 50); do
      [ -s "$dir/pulse/pid" ] && pid=$(cat "$dir/pulse/pid") && break
      sleep 0.1
    done
    if [ -z "$pid" ]; then
      echo "soundserver.sh: pulseaudio wrote no pid" >&2
      rm -rf "$dir"
      exit 0
    fi
    XDG_RUNTIME_DIR=$dir pactl set-default-sink tbnull >/dev/null 2>&1 || true
    XDG_RUNTIME_DIR=$dir pactl set-default-source tbrec >/dev/null 2>&1 || true
    # The null input makes up, at the first recording, all the silence since
    # the server started, seconds of it at once; a recorder that never stops
    # keeps it running, so it delivers in real time like a microphone.
    XDG_RUNTIME_DIR=$dir parec -d tbrec --latency-msec=20 </dev/null >/dev/null 2>&1 &
    rec=$!
    echo "export XDG_RUNTIME_DIR='$dir' TB_SOUND_PID='$pid' TB_SOUND_REC_PID='$rec' TB_SOUND_DIR='$dir'"
    ;;
  stop)
    if [ -n "${TB_SOUND_REC_PID:-}" ]; then kill "$TB_SOUND_REC_PID" 2>/dev/null || true; fi
    if [ -n "${TB_SOUND_PID:-}" ]; then
      kill "$TB_SOUND_PID" 2>/dev/null || true
      for _ in $(seq 30); do kill -0 "$TB_SOUND_PID" 2>/dev/null || break; sleep 0.1; done
    fi
    if [ -n "${TB_SOUND_DIR:-}" ]; then rm -rf "$TB_SOUND_DIR"; fi
    ;;
  *)
    echo "usage: scripts/soundserver.sh start|stop" >&2
    exit 2
    ;;
esac
