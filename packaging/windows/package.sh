#!/usr/bin/env bash
# Builds statewright-cli for 64-bit Windows (Release, MinGW-w64) and puts it in a zip with this
# folder's README.txt, the licence, the command line's manual as text and the default flag
# descriptions (event.txt), then checks the zip as
# a Windows user would use it, under Wine: unpacked into an empty folder, --version, demo and
# show --json there.
#   packaging/windows/package.sh BUILD_DIR OUT_DIR
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build-windows-release}
out=${2:-build}
wine=${WINE:-$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)}
version=$(sed -n 's/^project(Statewright VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=statewright-cli-$version-windows-x86_64

extra=()
read -ra extra <<<"${STATEWRIGHT_CMAKE_ARGS:-}"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DSTATEWRIGHT_GUI=OFF -DSTATEWRIGHT_TESTS=OFF \
    -DSTATEWRIGHT_BENCHMARKS=OFF "${extra[@]}"
cmake --build "$build" --target statewright-cli -j"$(nproc)"

stage=$build/$name
rm -rf "$stage"
mkdir -p "$stage" "$out"
x86_64-w64-mingw32-strip -o "$stage/statewright-cli.exe" "$build/bin/statewright-cli.exe"
# Text files with Windows line ends, so that every editor there shows their lines.
crlf() { sed 's/\r*$/\r/' "$1" >"$2"; }
crlf packaging/windows/README.txt "$stage/README.txt"
crlf COPYING "$stage/LICENSE.txt"
# The default flag descriptions, found beside the .exe as the program looks for them.
cp resources/data/event.txt "$stage/event.txt"
crlf README.md "$stage/README.md"
groff -man -Tutf8 -P-cbou packaging/man/statewright-cli.6 >"$stage/statewright-cli.raw"
crlf "$stage/statewright-cli.raw" "$stage/statewright-cli.txt"
rm "$stage/statewright-cli.raw"

# Nothing beside the .exe may be needed: it imports only what every Windows has.
if x86_64-w64-mingw32-objdump -p "$stage/statewright-cli.exe" | grep 'DLL Name' |
    grep -viE 'kernel32|user32|shell32|ole32|advapi32|msvcrt|api-ms-win|ws2_32|gdi32|comdlg32|winspool|oleaut32'; then
    echo "statewright-cli.exe needs a DLL that Windows does not bring" >&2
    exit 1
fi

zip=$out/$name.zip
rm -f "$zip"
(cd "$build" && python3 -m zipfile -c "$OLDPWD/$zip" "$name")

# The check: unpacked where nothing else is, run under Wine with a prefix of its own.
check=$(mktemp -d)
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=wineserver
# The prefix's server lets go of it before the folder goes.
trap 'WINEPREFIX=$check/prefix "$wineserver" -k 2>/dev/null; rm -rf "$check"' EXIT
python3 -m zipfile -e "$zip" "$check"
export WINEPREFIX=$check/prefix WINEDEBUG=-all
exe=$check/$name/statewright-cli.exe
cd "$check"
"$wine" "$exe" --version | tee version.txt
grep -q "^statewright-cli $version" version.txt
"$wine" "$exe" demo 'demo files' >/dev/null
"$wine" "$exe" show --json 'demo files\vellumgate.zs1' >state.json
python3 -c 'import json; d=json.load(open("state.json")); assert d["members"][0]["name"], d
assert any(f["description"] for f in d["flags"]), "no flag description: event.txt not found"'
# Beside this build's Linux program, where there is one: the same demo, the same show --json
# data and the same bytes after the same set, flag and rename-item, in a folder named with
# letters beyond ASCII.
linux=${STATEWRIGHT_LINUX_CLI:-$OLDPWD/build/bin/statewright-cli}
if [ -x "$linux" ]; then
    mkdir linux "wïndows"
    "$linux" demo linux >/dev/null
    "$wine" "$exe" demo "wïndows" >/dev/null
    data() { python3 -c 'import json,sys; d=json.load(sys.stdin); d.pop("file"); d.pop("rom"); print(d)'; }
    cmp <("$linux" show --json linux/vellumgate.zs1 | data) \
        <("$wine" "$exe" show --json 'wïndows\vellumgate.zs1' | data)
    for command in "set %s/vellumgate.zs1 money=4242 member1.level=77" "flag %s/vellumgate.zs1 on 17 0x20" \
        "rename-item %s/vellumgate.smc 5 Quillblade"; do
        read -ra on_linux <<<"${command//%s/linux}"
        read -ra on_windows <<<"${command//%s/wïndows}"
        "$linux" "${on_linux[@]}" >/dev/null
        "$wine" "$exe" "${on_windows[@]}" >/dev/null
    done
    cmp linux/vellumgate.zs1 "wïndows/vellumgate.zs1"
    cmp linux/vellumgate.smc "wïndows/vellumgate.smc"
    [ "$(ls -A "wïndows" | tr '\n' ' ')" = "vellumgate.smc vellumgate.zs1 " ]  # no temporary left
    echo "the same data and bytes as $linux"
fi
echo "packaged and checked under Wine: $zip ($(du -k "$OLDPWD/$zip" | cut -f1) KiB)"
