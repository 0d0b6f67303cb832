#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test (unit, widget, e2e).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPQ_WERROR=ON
cmake --build build --parallel "$(nproc)"
ctest --test-dir build --output-on-failure --parallel "$(nproc)" --timeout 600
