#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test. The window
# tests run on Qt's offscreen platform, so no display is needed. Then builds
# the browser edition and runs its tests: the number texts under Node, the
# page in headless Chromium, then the same scenarios in Chromium, Firefox ESR
# and WebKitGTK; last, both front ends through the Orca screen reader.
#   --sanitize   build and test with AddressSanitizer and
#                UndefinedBehaviorSanitizer instead; any finding fails. The
#                browser edition is left out: it is the same code.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
if [ "${1:-}" = --sanitize ]; then
    need_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
else
    need_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WEB_PACKAGES[@]}" \
                  "${WEB_TEST_PACKAGES[@]}" "${SCREEN_READER_PACKAGES[@]}" $(npm_package)
fi

build=build/test
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOREL_WERROR=ON)
if [ "${1:-}" = --sanitize ]; then
    build=build/sanitize
    options+=(-DVOREL_SANITIZE=ON)
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

cmake -S . -B "$build" "${options[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure --no-tests=error -j "$(nproc)"

if [ "${1:-}" != --sanitize ]; then
    # The build a new user makes with scripts/run.sh, at its -O3, where GCC
    # warns of things that the tests' build never sees.
    cmake -S . -B build/release-check -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVOREL_WERROR=ON >/dev/null
    cmake --build build/release-check --target vorel -j "$(nproc)"

    bash scripts/web.sh --werror --no-open
    ctest --test-dir build/web-cmake --output-on-failure --no-tests=error
    (cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
    export VOREL_RASTERDUMP="$PWD/$build/tests/rasterdump" VOREL_LABELINK="$PWD/$build/tests/labelink"
    node --test tests/web/web.test.mjs tests/web/screens.test.mjs tests/web/devices.test.mjs \
                tests/web/robust.test.mjs tests/web/randomuse.test.mjs
    node --test tests/web/engines.test.mjs

    # What Orca says of both front ends, as a blind student hears them.
    bash tests/xsession.sh /usr/bin/python3 tests/orca_client.py "$build/app/vorel" build/web/vorel.html
fi
