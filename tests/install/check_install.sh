#!/bin/sh
# Installs the build into a staging folder and checks what lands where:
# exactly the program, its launcher, icon, metadata, five documents, the
# Laboratoire's three example setups, its manual page in English and French,
# the copyright file and the changelog, the launcher and metadata valid, and the
# installed program starting from a folder that holds nothing of its own.
# usage: check_install.sh BUILD_DIR STAGING_DIR
set -eu
build=$1
stage=$2
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$stage"
cmake --install "$build" --prefix "$stage" >/dev/null

expected="bin/temperature1
share/applications/temperature1.desktop
share/doc/temperature1/changelog.gz
share/doc/temperature1/copyright
share/icons/hicolor/scalable/apps/temperature1.svg
share/man/fr/man1/temperature1.1.gz
share/man/man1/temperature1.1.gz
share/metainfo/org.temperature1.temperature1.metainfo.xml
share/temperature1/comm1.rtf
share/temperature1/comm2.rtf
share/temperature1/comm3.rtf
share/temperature1/comm4.rtf
share/temperature1/comm5.rtf
share/temperature1/exemples/identification.json
share/temperature1/exemples/p-retard.json
share/temperature1/exemples/pid-bruit.json
share/temperature1/feuille-identification.json
share/temperature1/feuille-prediction.json
share/temperature1/feuille-reglage.json"
installed=$(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$installed" = "$expected" ] || fail "installed files differ:
$installed"
[ -x "$stage/bin/temperature1" ] || fail "bin/temperature1 is not executable"

desktop="$stage/share/applications/temperature1.desktop"
# Not even a hint: one main category, Education.
hints=$(desktop-file-validate "$desktop") || fail "desktop-file-validate: $hints"
[ -z "$hints" ] || fail "desktop-file-validate: $hints"
for line in "Exec=temperature1" "Icon=temperature1" "Categories=Education;Engineering;" "Type=Application"; do
  grep -qxF "$line" "$desktop" || fail "the launcher lacks $line"
done
grep -q "^Name=.*four" "$desktop" || fail "the launcher's name is not French"
grep -q "^Comment=.*température" "$desktop" || fail "the launcher's comment is not French"

metainfo="$stage/share/metainfo/org.temperature1.temperature1.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >/dev/null || {
  appstreamcli validate --no-net "$metainfo" >&2
  fail "appstreamcli validate"
}
grep -q '<launchable type="desktop-id">temperature1.desktop</launchable>' "$metainfo" ||
  fail "the metadata does not launch the installed launcher"

doc="$stage/share/doc/temperature1"
head -n 1 "$doc/copyright" | grep -qF "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
  fail "the copyright file is not machine-readable"
grep -qx "License: GPL-3.0-or-later" "$doc/copyright" || fail "the copyright file does not say GPL-3.0-or-later"
grep -q "GNU GENERAL PUBLIC LICENSE" "$(dirname "$0")/../../COPYING" || fail "COPYING is not the GPL"
gzip -t "$doc/changelog.gz" || fail "changelog.gz is not gzip"
version=$(sed -n 's/^project(temperature1 VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
gzip -dc "$doc/changelog.gz" | head -n 1 | grep -qF "temperature1 ($version) " ||
  fail "the changelog's last entry is not version $version"

for page in man/man1 man/fr/man1; do
  text=$(gzip -dc "$stage/share/$page/temperature1.1.gz")
  echo "$text" | head -n 1 | grep -q "^\.TH TEMPERATURE1 1 " || fail "share/$page/temperature1.1.gz is no manual page"
  echo "$text" | grep -q "/share/temperature1" || fail "share/$page/temperature1.1.gz does not name the documents' folder"
done

grep -q "<svg" "$stage/share/icons/hicolor/scalable/apps/temperature1.svg" || fail "the icon is not an SVG"
for n in 1 2 3 4 5; do
  head -c 5 "$stage/share/temperature1/comm$n.rtf" | grep -qF '{\rtf' || fail "comm$n.rtf is not RTF"
done
for example in "$stage"/share/temperature1/exemples/*.json; do
  grep -qF '"format": "temperature1-laboratoire"' "$example" || fail "$example is not a Laboratoire setup"
done

# Started from an empty folder that it may not write to, the installed
# program runs until it is stopped.
elsewhere=$(mktemp -d)
chmod 555 "$elsewhere"
status=0
(cd "$elsewhere" && QT_QPA_PLATFORM=offscreen timeout 3 "$stage/bin/temperature1" >/dev/null 2>&1) || status=$?
rmdir "$elsewhere"
[ "$status" -eq 124 ] || fail "the installed program ended early (status $status)"
echo "install layout ok"
