#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that a desktop finds
# the program, its menu entry and its icons there.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/vorel share/applications/vorel.desktop \
         share/icons/hicolor/32x32/apps/vorel.png share/icons/hicolor/64x64/apps/vorel.png \
         share/icons/hicolor/128x128/apps/vorel.png; do
    [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
[ -x "$prefix/bin/vorel" ] || { echo "bin/vorel is not executable"; exit 1; }
ls "$prefix/bin" | grep -v -x vorel && { echo "tools installed beside the program"; exit 1; }

entry=$prefix/share/applications/vorel.desktop
grep -qx 'Name=Interferencia de Vorel' "$entry"
grep -qx 'Categories=Education;Science;Physics;' "$entry"
grep -qx 'Icon=vorel' "$entry"
grep -qx 'Exec=vorel' "$entry"
desktop-file-validate "$entry" | grep -v ': hint: ' | grep . && exit 1
echo "installed and valid"
