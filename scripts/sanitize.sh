#!/usr/bin/env bash
# The sanitizer build: AddressSanitizer and UndefinedBehaviorSanitizer over every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON -DPQ_BUILD_BENCH=OFF
cmake --build build-asan --parallel "$(nproc)"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"
