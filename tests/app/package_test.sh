#!/usr/bin/env bash
# The Debian package: built by cpack from a build folder, its control fields and files listed and
# checked, its desktop entry and AppStream metadata validated, and linted without an error.
#   package_test.sh BUILD_DIR
set -euo pipefail

build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work" >/dev/null)
debs=("$work"/skizzar_*_*.deb)
deb=${debs[0]}
[[ -f $deb ]] || { echo "FAIL: cpack made no skizzar_<version>_<arch>.deb"; exit 1; }
echo "built $(basename "$deb")"
dpkg-deb --field "$deb"
dpkg-deb --contents "$deb"

fail() { echo "FAIL: $*"; exit 1; }
[[ $(dpkg-deb --field "$deb" Package) == skizzar ]] || fail "the package is not named skizzar"
# The Qt libraries are found by dpkg-shlibdeps in the program, not listed by hand.
depends=$(dpkg-deb --field "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *qt6-translations-l10n* ]] || fail "dependencies missing: $depends"
files=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
id=de.skizzar.Skizzar
for file in usr/bin/skizzar usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
            usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/skizzar.png \
            usr/share/icons/hicolor/scalable/apps/skizzar.svg \
            usr/share/doc/skizzar/copyright usr/share/doc/skizzar/changelog.gz; do
    grep -qx "./$file" <<<"$files" || fail "the package lacks /$file"
done

dpkg-deb --extract "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/$id.metainfo.xml"
lintian --fail-on error "$deb"
echo "PASS"
