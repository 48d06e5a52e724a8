#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# and runs each for a bounded time (seconds, default 20) from its seed corpus. New inputs it finds
# stay in the build folder; an input that breaks a target is left there as crash-*, to become a
# regression seed in fuzz/corpus. Usage: scripts/fuzz.sh [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
bash scripts/deps.sh
missing=()
for p in clang libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBREVANT_FUZZ=ON -DBREVANT_TESTS=OFF -DBREVANT_WERROR=ON
targets=(nextfield tsql feetext importtext suggest register)
cmake --build "$build" --parallel --target "${targets[@]/#/fuzz_}"
for t in "${targets[@]}"; do
    work="$build/corpus/$t"
    # Inputs found by an earlier run are in fuzz/corpus once they are fixed: this run's alone count.
    rm -rf "$build/crashes/$t"
    mkdir -p "$work" "$build/crashes/$t"
    echo "fuzz_$t: $seconds s"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "$build/bin/fuzz_$t" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
        -artifact_prefix="$build/crashes/$t/" -print_final_stats=1 "$work" "fuzz/corpus/$t" 2>&1 |
        grep -E "^#[0-9]+.*DONE|stat::number_of_executed_units|ERROR|property broken|SUMMARY" || true
    if compgen -G "$build/crashes/$t/*" >/dev/null; then
        echo "fuzz_$t found inputs that break it: $build/crashes/$t" >&2
        exit 1
    fi
done
echo "fuzzing passed"
