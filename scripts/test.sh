#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs the whole test suite
# offscreen (no display needed). Usage: scripts/test.sh [build folder]; BREVANT_SANITIZE=ON
# builds with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
build="${1:-build/test}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVANT_WERROR=ON \
    -DBREVANT_SANITIZE="${BREVANT_SANITIZE:-OFF}"
cmake --build "$build" --parallel
ctest --test-dir "$build" --output-on-failure --parallel 2
