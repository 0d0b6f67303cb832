#!/usr/bin/env bash
# The program at once: installs what is missing, builds, starts the demo radio (t590-sim) on a
# pseudo-terminal, makes COM1 stand for it, and starts the desktop program, so that Clone > Read
# from radio works straight away. COM1's earlier device is given back when the script ends.
# Without a display (no $DISPLAY or $WAYLAND_DISPLAY) it says so and runs the command-line walk-
# through instead: a clone read from COM1 into ./radio.t590 (or the path given as $1), then a
# check of that file.
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=${1:-radio.t590}
./scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)" --target pqt590 pqt590-cli t590-sim

cli=build/bin/pqt590-cli
log=$(mktemp)
build/bin/t590-sim >"$log" 2>&1 &
sim=$!
previous=$("$cli" port 1 | cut -d' ' -f2-)
restore() {
    kill "$sim" 2>/dev/null || true
    rm -f "$log"
    # COM1 stands for what it stood for before (the default device when that was all it had).
    if [ "$previous" = "/dev/ttyUSB0" ]; then
        "$cli" port 1 --default >/dev/null || true
    else
        "$cli" port 1 "$previous" >/dev/null || true
    fi
}
trap restore EXIT
for _ in $(seq 50); do
    port=$(grep -o '^/dev/[^ ]*' "$log" | head -n 1 || true)
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "${port:-}" ] || { echo "t590-sim did not start:"; cat "$log"; exit 1; }
"$cli" port 1 "$port" >/dev/null
echo "t590-sim plays a T590 on $port; COM1 stands for it until this script ends."

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Starting pqt590: Clone > Read from radio (Ctrl+R) reads the demo radio."
    build/bin/pqt590
else
    echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set), so no window: the"
    echo "command-line tool reads the demo radio on COM1 into $OUT and checks it instead."
    "$cli" read --port 1 -o "$OUT"
    "$cli" check "$OUT"
fi
