#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the benchmarks and the Debian package need
# (only what is missing).
set -euo pipefail
PKGS=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev qt6-svg-dev googletest libgtest-dev libgmock-dev
      libbenchmark-dev fonts-dejavu-core clang-format stress-ng
      dpkg-dev help2man lintian desktop-file-utils appstream file man-db)
missing=()
for p in "${PKGS[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
