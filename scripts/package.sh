#!/usr/bin/env bash
# Builds the Debian package pqt590_<version>_<arch>.deb into this folder: installs what is
# missing, makes a release build with Debian's hardening flags in build-deb/ (no tests, no
# benchmarks), packs it with CPack and has lintian check it.
#   sudo apt-get install ./pqt590_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
# The flags every Debian package is built with (fortified functions, stack protector, full RELRO).
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DPQ_BUILD_TESTS=OFF \
      -DPQ_BUILD_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr "-DCMAKE_CXX_FLAGS=$CXXFLAGS" \
      "-DCMAKE_EXE_LINKER_FLAGS=$LDFLAGS" >/dev/null
cmake --build build-deb --parallel "$(nproc)"
rm -f build-deb/pqt590_*.deb
(cd build-deb && cpack -G DEB >/dev/null)
deb=$(ls build-deb/pqt590_*.deb)
cp "$deb" .
lintian --fail-on error "$(basename "$deb")"
echo "Made $(basename "$deb"): sudo apt-get install ./$(basename "$deb")"
