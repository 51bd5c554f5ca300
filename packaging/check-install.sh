#!/usr/bin/env bash
# Installs a build into a scratch DESTDIR with prefix /usr, as a package would, and checks what
# a desktop and a player get from it: every file in its place, a valid desktop entry, AppStream
# metainfo, MIME package and man pages, save states recognised by their content, the command
# line working, and the editor, started from / by its desktop entry's Exec line, finding its
# data files and writing the movie copies.
#   packaging/check-install.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
id=io.github.statewright.Statewright
root=$(mktemp -d)
editor_pid=
cleanup() {
    if [ -n "$editor_pid" ]; then kill "$editor_pid" 2>/dev/null || true; fi
    rm -rf "$root"
}
trap cleanup EXIT
fail() {
    echo "check-install: $*" >&2
    exit 1
}

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr
desktop=$usr/share/applications/$id.desktop
mime=$usr/share/mime/packages/$id.xml

files=(bin/statewright bin/statewright-cli share/applications/$id.desktop
       share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml
       share/man/man6/statewright.6.gz share/man/man6/statewright-cli.6.gz
       share/doc/statewright/copyright)
for name in about.dat statewright.dat event.txt README.TXT WHATSNEW.TXT; do
    files+=("share/statewright/$name")
done
for f in "${files[@]}"; do
    [ -f "$usr/$f" ] || fail "not installed: /usr/$f"
done
for size in 16 22 24 32 48 64 128 256; do
    icon=$usr/share/icons/hicolor/${size}x$size/apps/$id.png
    file -b "$icon" | grep -q "PNG image data, $size x $size," ||
        fail "icon ${size}x$size: $(file -b "$icon" 2>&1)"
done

# The validators the desktop's own tools use.
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
    appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml"
xmllint --noout "$mime"
for page in statewright statewright-cli; do
    warnings=$(zcat "$usr/share/man/man6/$page.6.gz" | groff -man -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$page.6: $warnings"
done

# The desktop entry names what is installed.
grep -qx "Exec=statewright %f" "$desktop" || fail "Exec line"
grep -qx "Icon=$id" "$desktop" || fail "Icon line"
types=$(sed -n 's/.*mime-type type="\([^"]*\)".*/\1/p' "$mime" | tr '\n' ';')
grep -qx "MimeType=$types" "$desktop" || fail "MimeType does not name $types"
type=application/x-zsnes-save-state

# Save states are told from Zstandard archives (*.zst) by their content.
XDG_DATA_DIRS=$usr/share update-mime-database "$usr/share/mime"
work=$root/work
mkdir -p "$work" "$root/home"
(cd / && "$usr/bin/statewright-cli" demo "$work" >/dev/null)
"$usr/bin/statewright-cli" show "$work/vellumgate.zs1" | grep -q "^Member 0:" ||
    fail "statewright-cli show printed no party"
cp "$work/vellumgate.zs1" "$work/quick.zst"
cp "$work/vellumgate.zs1" "$work/no-extension"
printf '\x28\xb5\x2f\xfd\x04\x58\x01\x00\x00' >"$work/archive.zst"
# The other emulators' names are claimed by content alone: a text of the same name is not.
printf 'RASTATE\x01MEM \x00\x00\x00\x00' >"$work/Game.state1"
printf '#RZIPv\x01#\x00\x00\x02\x00' >"$work/Game.state.auto"
printf '#!s9xsnp:0012\nNAM:000001:x' >"$work/Game.000"
printf 'BST1\x01125\x00' >"$work/Game.bs1"
echo 'position=12' >"$work/editor.state"
echo 'part one' >"$work/archive.000"
for case in "vellumgate.zs1 $type" "quick.zst $type" "no-extension $type" \
            "archive.zst application/zstd" "Game.state1 application/x-retroarch-save-state" \
            "Game.state.auto application/x-retroarch-save-state" \
            "Game.000 application/x-snes9x-save-state" "Game.bs1 application/x-bsnes-save-state" \
            "editor.state text/plain" "archive.000 text/plain"; do
    set -- $case
    found=$(XDG_DATA_HOME=$root/home/share XDG_DATA_DIRS=$usr/share:/usr/share \
            gio info -a standard::content-type "$work/$1" | sed -n 's/.*content-type: //p')
    [ "$found" = "$2" ] || fail "$1 is $found, not $2"
done

# The editor from its desktop entry, started in / as a menu would (offscreen, no installed
# copy elsewhere to be found): it must find the installed data files.
report=$(cd / && XDG_DATA_DIRS=$root/none "$usr/bin/statewright" --data-files) ||
    fail "statewright --data-files: $report"
for name in about.dat statewright.dat event.txt README.TXT WHATSNEW.TXT; do
    grep -q "^$name *$usr/share/statewright/$name\$" <<<"$report" || fail "$name: $report"
done
exec_line=$(sed -n 's/^Exec=//p' "$desktop" | sed 's/ *%[fFuU]//g')
movies=$root/home/share/statewright
(cd / && exec env PATH="$usr/bin:$PATH" HOME="$root/home" XDG_DATA_HOME="$root/home/share" \
    XDG_DATA_DIRS="$root/none" QT_QPA_PLATFORM=offscreen $exec_line) >"$root/editor.log" 2>&1 &
editor_pid=$!
for _ in $(seq 100); do
    if [ "$(stat -c %s "$movies/statewright.pl" 2>/dev/null)" = 68450 ] &&
        [ "$(stat -c %s "$movies/statewright.ini" 2>/dev/null)" = 6514 ]; then
        break
    fi
    kill -0 "$editor_pid" 2>/dev/null || fail "the editor ended: $(cat "$root/editor.log")"
    sleep 0.1
done
[ "$(stat -c %s "$movies/statewright.pl" 2>/dev/null)" = 68450 ] ||
    fail "no 68,450-byte statewright.pl after 10 s: $(ls -l "$movies" 2>&1)"
kill -0 "$editor_pid" 2>/dev/null || fail "the editor ended: $(cat "$root/editor.log")"
echo "check-install: $(find "$usr" -type f | wc -l) files installed and checked;" \
    "the editor started from / found its data files"
