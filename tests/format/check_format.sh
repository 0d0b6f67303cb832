#!/usr/bin/env bash
# Fails when a C++ source of the project differs from what .clang-format makes of it.
# Usage: check_format.sh SOURCE_ROOT
set -u
root=${1:?usage: check_format.sh SOURCE_ROOT}
cd "$root" || exit 2
command -v clang-format >/dev/null || { echo "clang-format is not installed"; exit 2; }
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests tools bench -name '*.cpp' -o -name '*.h')
out=$(clang-format --dry-run -Werror "${files[@]}" 2>&1)
if [ -n "$out" ]; then
    echo "$out" | grep 'error:' | cut -d: -f1 | sort -u | sed 's/^/not formatted: /'
    echo "run: clang-format -i <file>"
    exit 1
fi
echo "formatting: ${#files[@]} files as .clang-format makes them"
