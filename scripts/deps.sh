#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
# Usage: scripts/deps.sh [extra-package ...]
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev sox
          clang libclang-rt-14-dev
          # the desktop editor: Qt 6 Widgets, its platform plugins (xcb and
          # offscreen for the GUI tests) and SVG images
          qt6-base-dev qt6-qpa-plugins qt6-svg-dev libgl-dev fonts-dejavu-core
          # the screenshot smoke test: a virtual X server and a key sender
          xvfb xauth xdotool
          # play-back and recording: Qt Multimedia (its library talks to
          # PulseAudio itself) and a sound server with a null output for
          # the tests that play and record (scripts/soundserver.sh)
          qt6-multimedia-dev pulseaudio pulseaudio-utils
          "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq >/dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
