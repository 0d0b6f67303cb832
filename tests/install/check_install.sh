#!/usr/bin/env bash
# cmake --install puts the desktop program beside its resources and, on Linux, its desktop entry
# (naming the installed program), its icon and the MIME type of ".t590" files where a desktop
# looks for them. Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
DESTDIR= cmake --install "$build" --prefix "$prefix" >/dev/null
fail=0
for f in bin/pqt590 bin/PQT590.OVL bin/PQT590_Default.t590 bin/PQT590_Help.html \
         share/applications/pqt590.desktop share/mime/packages/pqt590.xml \
         share/icons/hicolor/scalable/apps/pqt590.svg; do
    [ -e "$prefix/$f" ] || { echo "missing: $f"; fail=1; }
done
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
