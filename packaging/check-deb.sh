#!/usr/bin/env bash
# Checks a built .deb: its name, section, fields and dependencies, and that it holds both
# programs, their data files and the desktop's files.
#   packaging/check-deb.sh statewright_<version>-<revision>_<arch>.deb
set -euo pipefail
deb=$1
fail() {
    echo "check-deb: $deb: $*" >&2
    exit 1
}
field() { dpkg-deb --field "$deb" "$1"; }

[[ $(basename "$deb") == statewright_$(field Version)_$(field Architecture).deb ]] ||
    fail "file name is not statewright_<version>_<arch>.deb"
[ "$(field Package)" = statewright ] || fail "Package: $(field Package)"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
for name in Maintainer Homepage Description; do
    [ -n "$(field "$name")" ] || fail "no $name field"
done
depends=$(field Depends)
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 libsndfile1 libc6 \
              qt6-qpa-plugins; do
    # Debian 13 names some of these libraries with "t64" (their 64-bit time_t builds).
    grep -Eq "(^|, )$needed(t64)?( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
# The version names the Debian release whose libraries the package links.
if release=$(. /etc/os-release && [ "$ID" = debian ] && echo "${VERSION_ID:-}") &&
    [ -n "$release" ]; then
    [[ $(field Version) == *~deb$release ]] ||
        fail "Version $(field Version) does not end in ~deb$release, the release it was built on"
fi
# The change log's newest entry is this version, so neither is raised without the other.
logged=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/statewright/changelog.gz |
         gzip -d | dpkg-parsechangelog -l - -S Version)
[ "$logged" = "$(field Version)" ] ||
    fail "changelog's newest entry is $logged, the package $(field Version) (packaging/changelog)"
contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
id=io.github.statewright.Statewright
for path in ./usr/bin/statewright ./usr/bin/statewright-cli ./usr/share/statewright/about.dat \
            ./usr/share/statewright/statewright.dat ./usr/share/statewright/event.txt \
            ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
            ./usr/share/mime/packages/$id.xml ./usr/share/icons/hicolor/256x256/apps/$id.png \
            ./usr/share/man/man6/statewright.6.gz ./usr/share/doc/statewright/copyright; do
    grep -qx "$path" <<<"$contents" || fail "does not hold $path"
done
echo "check-deb: $(basename "$deb"), $(stat -c %s "$deb") bytes, Section: games"
echo "check-deb: Depends: $depends"
