#!/usr/bin/env bash
# The Debian package cpack makes of a build: its fields and files listed, its dependencies found in
# the program, its desktop entry and AppStream metadata valid, lintian with no error.
#   package_test.sh BUILD_DIR
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$1" && cpack -G DEB -B "$work" >/dev/null)
deb=$(echo "$work"/skizzar_*_*.deb)
dpkg-deb --field "$deb"
dpkg-deb --contents "$deb"
depends=$(dpkg-deb --field "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *qt6-translations-l10n* ]] || { echo "FAIL: Depends"; exit 1; }
dpkg-deb --extract "$deb" "$work/root"
ls "$work"/root/usr/bin/skizzar "$work"/root/usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/skizzar.png \
   "$work"/root/usr/share/icons/hicolor/scalable/apps/skizzar.svg >/dev/null
desktop-file-validate "$work"/root/usr/share/applications/de.skizzar.Skizzar.desktop
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/de.skizzar.Skizzar.metainfo.xml
lintian --fail-on error "$deb"
echo "PASS: $(basename "$deb")"
