#!/usr/bin/env bash
# The main job: installs what is missing, builds, and (until the command-line tool and the
# radio emulator exist) runs the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPQ_BUILD_TESTS=OFF
cmake --build build-release --parallel "$(nproc)"
shopt -s nullglob
for b in build-release/bin/bench_*; do
    echo "== $(basename "$b")"
    "$b" "$@"
done
