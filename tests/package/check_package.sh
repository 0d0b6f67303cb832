#!/usr/bin/env bash
# The Debian package as a user's machine gets it: made by CPack from the build tree, accepted by
# lintian, its desktop entry and metadata valid, and unpacked into a scratch root, its programs
# run from there, finding their resources as installed (no --resources), with their manual
# pages and the completion of pqt590-cli. Usage: check_package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail=0
problem() {
    echo "FAIL: $*"
    fail=1
}

cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; exit 1; }
deb=$(ls "$scratch"/out/pqt590_*.deb)
echo "package: $(basename "$deb")"

# The control fields a package manager and a software centre show.
control=$(dpkg-deb --field "$deb")
for field in "Package: pqt590" "Section: hamradio" "Priority: optional"; do
    grep -qx "$field" <<<"$control" || problem "no '$field' in the control file"
done
grep -q '^Depends:.*libqt6core6' <<<"$control" || problem "the dependencies are not computed from the binaries"
grep -q '^Description: programmer for the T590 marine HF transceiver$' <<<"$control" ||
    problem "no summary line"
grep -q '^ .*marine HF transceiver' <<<"$control" || problem "no long description"

# lintian: no errors; every warning is either fixed or explained in cmake/PqPackaging.cmake.
if command -v lintian >/dev/null; then
    lintian --fail-on error --tag-display-limit 0 "$deb" >"$scratch/lintian.log" 2>&1 ||
        problem "lintian reports errors"
    cat "$scratch/lintian.log"
else
    problem "lintian is not installed (scripts/deps.sh installs it)"
fi

# What the package holds.
root=$scratch/root
dpkg-deb -x "$deb" "$root"
for f in usr/bin/pqt590 usr/bin/pqt590-cli \
         usr/share/pqt590/PQT590.OVL usr/share/pqt590/PQT590_Default.t590 \
         usr/share/pqt590/PQT590_Help.html \
         usr/share/man/man1/pqt590.1.gz usr/share/man/man1/pqt590-cli.1.gz \
         usr/share/bash-completion/completions/pqt590-cli \
         usr/share/metainfo/com.vexa.pqt590.metainfo.xml \
         usr/share/applications/pqt590.desktop usr/share/mime/packages/pqt590.xml \
         usr/share/icons/hicolor/scalable/apps/pqt590.svg \
         usr/share/doc/pqt590/copyright usr/share/doc/pqt590/changelog.gz; do
    [ -e "$root/$f" ] || problem "the package lacks /$f"
done
for size in 16 22 24 32 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/pqt590.png
    if [ -e "$png" ]; then
        file "$png" | grep "PNG image data, $size x $size," >/dev/null || problem "$png is not $size x $size"
    else
        problem "no ${size}x${size} icon"
    fi
done
for f in usr/bin/t590-sim usr/bin/PQT590.OVL; do
    [ ! -e "$root/$f" ] || problem "the package holds /$f"
done

entry=$root/usr/share/applications/pqt590.desktop
desktop-file-validate "$entry" || problem "desktop-file-validate refuses the desktop entry"
grep -qx "Exec=/usr/bin/pqt590 %f" "$entry" || problem "the entry does not start /usr/bin/pqt590"
appstreamcli validate --no-net "$root/usr/share/metainfo/com.vexa.pqt590.metainfo.xml" ||
    problem "appstreamcli refuses the metadata"

# The manual pages are the programs' own help, and read without a warning.
for program in pqt590 pqt590-cli; do
    page=$root/usr/share/man/man1/$program.1.gz
    [ -e "$page" ] || continue
    text=$(MANWIDTH=100 man --warnings -E UTF-8 -l "$page" 2>"$scratch/man.err")
    [ -s "$scratch/man.err" ] && { cat "$scratch/man.err"; problem "man warns about $program(1)"; }
    grep -q "dialout" <<<"$text" || problem "$program(1) does not say how to join dialout"
done
grep -q "diff A.t590 B.t590" <(zcat "$root/usr/share/man/man1/pqt590-cli.1.gz" | sed 's/\\-/-/g') ||
    problem "pqt590-cli(1) lacks the commands of its --help"

# The unpacked programs: their own home, no display, and no settings of the user's touched.
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config XDG_DATA_HOME=$scratch/home/.local/share
mkdir -p "$HOME"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
cli=$root/usr/bin/pqt590-cli
version=$("$cli" --version) || problem "pqt590-cli --version fails"
[ "$version" = "pqt590-cli $(sed -n 's/^Version: //p' <<<"$control")" ] ||
    problem "pqt590-cli --version says '$version'"
"$cli" check "$root/usr/share/pqt590/PQT590_Default.t590" >"$scratch/check.out" 2>"$scratch/check.err" ||
    { cat "$scratch/check.out" "$scratch/check.err"; problem "pqt590-cli check of the default file fails"; }
grep -q "valid clone file" "$scratch/check.out" || problem "check printed no verdict"
"$cli" print "$root/usr/share/pqt590/PQT590_Default.t590" -o "$scratch/default.pdf" 2>"$scratch/print.err" ||
    { cat "$scratch/print.err"; problem "pqt590-cli print fails"; }
head -c 5 "$scratch/default.pdf" 2>/dev/null | grep -q '%PDF-' || problem "print wrote no PDF"
# Only the tool's own messages: none of Qt's.
if grep -v '^pqt590-cli' "$scratch/check.err" "$scratch/print.err" | grep -q .; then
    grep -v '^pqt590-cli' "$scratch/check.err" "$scratch/print.err"
    problem "pqt590-cli printed messages that are not its own"
fi
gui=$root/usr/bin/pqt590
[ "$("$gui" --version)" = "pqt590 $(sed -n 's/^Version: //p' <<<"$control")" ] ||
    problem "pqt590 --version fails"
"$gui" --help | grep "^Usage: pqt590 " >/dev/null || problem "pqt590 --help fails"
status=0
"$gui" 2>"$scratch/gui.err" || status=$?
[ $status -ne 0 ] && [ "$(wc -l <"$scratch/gui.err")" -eq 1 ] && grep -q "pqt590-cli" "$scratch/gui.err" ||
    { cat "$scratch/gui.err"; problem "pqt590 without a display does not say so in one line"; }

# The completion, as bash gives it on <Tab>: commands, options, sheets, files by extension.
complete_words() {
    (cd "$scratch/files" && bash -c '
        source "$1"; shift
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
        _pqt590_cli
        printf "%s\n" "${COMPREPLY[@]}"' _ "$root/usr/share/bash-completion/completions/pqt590-cli" "$@")
}
mkdir -p "$scratch/files/sub"
touch "$scratch/files/a.t590" "$scratch/files/B.T590" "$scratch/files/notes.txt" "$scratch/files/t.csv"
expect_words() {
    local want=$1
    shift
    local got
    got=$(complete_words "$@" | sort | tr '\n' ' ')
    [ "$got" = "$want" ] || problem "completion of '$*': '$got', not '$want'"
}
expect_words "print " "$cli" pr
expect_words "diff " "$cli" di
expect_words "--page-size " "$cli" print --pa
expect_words "--partial " "$cli" import --pa
expect_words "B.T590 a.t590 sub " "$cli" check ""
expect_words "B.T590 a.t590 sub t.csv " "$cli" import a.t590 ""
expect_words "GI_Sheet_UserCh " "$cli" export a.t590 --sheet GI_Sheet_User
# Taken whole before grep looks: grep -q stops reading at the first match, and under pipefail
# the writer's broken pipe would count as a failure whenever grep is the faster.
sheet_words=$(complete_words "$cli" print a.t590 --sheet "")
grep -qF '\[St_Common\]GI_Sheet_Common' <<<"$sheet_words" ||
    problem "the completion of --sheet lacks the common settings, quoted"

[ $fail -eq 0 ] && echo "the package installs as a Debian program"
exit $fail
