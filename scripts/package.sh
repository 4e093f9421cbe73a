#!/usr/bin/env bash
# Builds the Debian package of the simulator from the Release build:
# build/package/spssim_VERSION-1_ARCH.deb, to be installed with
#   sudo apt install ./build/package/spssim_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc 2>/dev/null || echo 2)"
rm -f build/package/*.deb
cpack --config build/release/CPackConfig.cmake -G DEB -B build/package
ls build/package/*.deb
