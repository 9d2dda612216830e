#!/usr/bin/env bash
# Builds the program and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."

# The same check as the program's own, before a build that would be in vain.
has_session=
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ] && has_session=yes
args=("$@")
for ((i = 0; i + 1 < ${#args[@]}; i++)); do
    case ${args[i]} in -platform|--platform) [ -n "${args[i+1]}" ] && has_session=yes ;; esac
done
if [ -z "$has_session" ]; then
    echo "vorel: necesita una sesión gráfica (X11 o Wayland) para mostrar sus ventanas." >&2
    exit 1
fi

. scripts/deps.sh
need_packages "${BUILD_PACKAGES[@]}"

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVOREL_WERROR=OFF >/dev/null
cmake --build build/release --target vorel -j "$(nproc)"
exec build/release/app/vorel "$@"
