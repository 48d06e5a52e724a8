#!/usr/bin/env bash
# Installs what is missing, builds the program in release mode and starts it. The login offers
# the embedded database of this computer: press Enter. On the first start it is created with the
# sample data.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBREVANT_TESTS=OFF
cmake --build build/release --parallel
exec build/release/bin/brevant "$@"
