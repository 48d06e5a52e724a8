#!/usr/bin/env bash
# Builds brevant-bench (optimised, without the tests) and runs it: the program's operations at
# hospital scale against their floors. Exits non-zero when a figure misses its goal.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBREVANT_TESTS=OFF >/dev/null
cmake --build "$build" --parallel --target brevant-bench
runtime="$(mktemp -d)"
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR="$runtime" HOME="$runtime" QT_QPA_PLATFORM=offscreen "$build/bin/brevant-bench"
