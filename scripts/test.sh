#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test. The window
# tests run on Qt's offscreen platform, so no display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOREL_WERROR=ON >/dev/null
cmake --build build/test -j "$(nproc)"
ctest --test-dir build/test --output-on-failure --no-tests=error -j "$(nproc)"
