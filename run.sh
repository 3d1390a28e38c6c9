#!/usr/bin/env bash
# Installs what is missing, builds the release version and starts the editor.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONBRISK_TESTS=OFF >/dev/null
ninja -C build-release -j"${JOBS:-2}"
if [ -x build-release/src/app/tonbrisk ]; then
  exec build-release/src/app/tonbrisk "$@"
fi
# Until the desktop editor exists, the command-line tool is the program.
build-release/src/cli/tonbrisk-cli --help
