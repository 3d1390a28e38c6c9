#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) over the core and the command-line
# tool; prints the warnings and exits non-zero when there are any.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-tidy}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTONBRISK_BENCH=OFF >/dev/null
warnings=$(for f in src/base/*.cpp src/sound/*.cpp src/units/*.cpp src/documents/*.cpp src/cli/*.cpp; do
  clang-tidy -p "$build" --quiet "$f" 2>/dev/null | grep -E 'warning:' || true
done | sort -u)
if [ -n "$warnings" ]; then
  echo "$warnings"
  exit 1
fi
echo "clang-tidy: no warnings"
