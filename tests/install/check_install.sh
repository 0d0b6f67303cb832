#!/usr/bin/env bash
# cmake --install puts the desktop program in bin/ and its resources in share/pqt590/ and, on
# Linux, its desktop entry (naming the installed program), its icons and the MIME type of ".t590"
# files where a desktop looks for them; the program started from there finds its resources.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
DESTDIR= cmake --install "$build" --prefix "$prefix" >/dev/null
fail=0
for f in bin/pqt590 bin/pqt590-cli share/pqt590/PQT590.OVL share/pqt590/PQT590_Default.t590 \
         share/pqt590/PQT590_Help.html \
         share/applications/pqt590.desktop share/mime/packages/pqt590.xml \
         share/icons/hicolor/scalable/apps/pqt590.svg share/icons/hicolor/48x48/apps/pqt590.png; do
    [ -e "$prefix/$f" ] || { echo "missing: $f"; fail=1; }
done
[ ! -e "$prefix/bin/PQT590.OVL" ] || { echo "resources beside the installed program"; fail=1; }
# The installed tool finds the installed resources without being told.
if ! "$prefix/bin/pqt590-cli" check "$prefix/share/pqt590/PQT590_Default.t590" >/dev/null 2>&1; then
    echo "the installed pqt590-cli does not find its resources"
    fail=1
fi
entry=$prefix/share/applications/pqt590.desktop
if [ -e "$entry" ]; then
    grep -qx "Exec=$prefix/bin/pqt590 %f" "$entry" || { echo "Exec does not name the installed program:"; grep '^Exec' "$entry"; fail=1; }
    grep -qx "MimeType=application/x-t590-clone;" "$entry" || { echo "no MIME type in the entry"; fail=1; }
    grep -qx "Icon=pqt590" "$entry" || { echo "no icon in the entry"; fail=1; }
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$entry" || fail=1
    fi
fi
grep -q 'pattern="\*.t590"' "$prefix/share/mime/packages/pqt590.xml" || { echo "no *.t590 glob"; fail=1; }
[ $fail -eq 0 ] && echo "installed as a desktop program"
exit $fail
