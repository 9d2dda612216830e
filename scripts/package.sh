#!/usr/bin/env bash
# Builds the Debian package build/package/vorel_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_packages "${BUILD_PACKAGES[@]}" dpkg-dev file

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build/release --target vorel -j "$(nproc)"
cpack --config build/release/CPackConfig.cmake -B build/package
ls build/package/*.deb
