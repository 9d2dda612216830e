#!/usr/bin/env bash
# Builds the browser edition, build/web/vorel.html: one file with the
# program inside that runs from disk in a browser, with no server. Opens it
# in the default browser when there is a display.
#   --werror    treat compiler warnings as errors (the tests use it)
#   --no-open   only build
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
need_packages "${WEB_PACKAGES[@]}" cmake make
use_emscripten

# Set either way, so that a cache left by another command keeps no say.
werror=OFF
open=yes
for arg in "$@"; do
    case "$arg" in
        --werror) werror=ON ;;
        --no-open) open=no ;;
        *) echo "unknown option: $arg" >&2; exit 2 ;;
    esac
done

emcmake cmake -S . -B build/web-cmake -DCMAKE_BUILD_TYPE=Release -DVOREL_BUILD_APP=OFF \
    -DVOREL_WERROR="$werror" >/dev/null
cmake --build build/web-cmake -j "$(nproc)"
mkdir -p build/web
cp build/web-cmake/web/vorel.html build/web/vorel.html
echo "$PWD/build/web/vorel.html"

if [ "$open" = yes ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && command -v xdg-open >/dev/null; then
    xdg-open build/web/vorel.html >/dev/null 2>&1 &
fi
