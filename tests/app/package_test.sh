#!/usr/bin/env bash
# The Debian package cpack makes of a build: its fields and files listed, its dependencies found in
# the program, its desktop entry and AppStream metadata valid and in English with German
# translations, lintian with nothing to say even at its most pedantic.
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
   "$work"/root/usr/share/icons/hicolor/scalable/apps/skizzar.svg \
   "$work"/root/usr/share/man/{,de/}man1/skizzar.1.gz >/dev/null
entry="$work"/root/usr/share/applications/de.skizzar.Skizzar.desktop
metainfo="$work"/root/usr/share/metainfo/de.skizzar.Skizzar.metainfo.xml
desktop-file-validate "$entry"
appstreamcli validate --no-net "$metainfo"
# The name stays Skizzar in every language; the rest is English, with its German translation.
while IFS='|' read -r file line; do
    grep -qxF -- "$line" "$file" || { echo "FAIL: $(basename "$file") lacks: $line"; exit 1; }
done <<EOF
$entry|Name=Skizzar
$entry|GenericName=Drawing Program
$entry|GenericName[de]=Zeichenprogramm
$entry|Comment=Draw points, lines, rectangles, circles and texts and save them as DXF files
$entry|Comment[de]=Zeichnungen aus Punkten, Linien, Rechtecken, Kreisen und Texten erstellen und als DXF-Datei speichern
$metainfo|  <summary>Small editor for two-dimensional drawings</summary>
$metainfo|  <summary xml:lang="de">Kleines Zeichenprogramm für zweidimensionale Zeichnungen</summary>
$metainfo|      <caption xml:lang="de">Das Hauptfenster mit einem Punkt, einer Linie, einem Rechteck, einem Kreis und einem Text</caption>
EOF
! grep -q '^Name\[' "$entry" || { echo "FAIL: the name is translated"; exit 1; }
said=$(lintian --pedantic --display-info --display-experimental "$deb" 2>/dev/null)
[[ -z $said ]] || { echo "$said"; echo "FAIL: lintian has something to say"; exit 1; }
echo "PASS: $(basename "$deb")"
