#!/usr/bin/env bash
# The main job, until the desktop program exists: installs what is missing, builds, starts the
# radio emulator on a pseudo-terminal, reads the radio into a clone file with the command-line
# tool, then checks that file. The file lands in ./radio.t590 (or the path given as $1).
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=${1:-radio.t590}
./scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)" --target pqt590-cli t590-sim

log=$(mktemp)
build/bin/t590-sim >"$log" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null || true; rm -f "$log"' EXIT
for _ in $(seq 50); do
    port=$(grep -o '^/dev/[^ ]*' "$log" | head -n 1 || true)
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "${port:-}" ] || { echo "t590-sim did not start:"; cat "$log"; exit 1; }
echo "t590-sim plays a T590 on $port"

build/bin/pqt590-cli read --port "$port" -o "$OUT"
build/bin/pqt590-cli check "$OUT"
