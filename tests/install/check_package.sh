#!/bin/sh
# Builds the Debian package and checks its control fields and contents, and
# that lintian, where installed, finds no error in it.
# usage: check_package.sh BUILD_DIR OUTPUT_DIR
set -eu
build=$1
out=$2
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$out"
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null || fail "cpack"
deb=$(find "$out" -maxdepth 1 -name 'temperature1_*.deb' | head -n 1)
[ -n "$deb" ] || fail "no temperature1_*.deb"

depends=$(dpkg-deb -f "$deb" Depends)
# From dpkg-shlibdeps: the Qt libraries the program links, with versions.
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6; do
  echo "$depends" | grep -q "$lib (>= " || fail "Depends lacks $lib from dpkg-shlibdeps: $depends"
done
# Loaded by Qt at run time, so named by hand.
for pkg in libqt6svg6 fonts-liberation2 qt6-translations-l10n; do
  echo "$depends" | grep -q "$pkg" || fail "Depends lacks $pkg: $depends"
done

maintainer=$(dpkg-deb -f "$deb" Maintainer)
case $maintainer in
*example.* | "") fail "no real maintainer: $maintainer" ;;
esac

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for f in ./usr/bin/temperature1 ./usr/share/temperature1/comm1.rtf ./usr/share/temperature1/comm5.rtf \
  ./usr/share/temperature1/feuille-identification.json ./usr/share/temperature1/feuille-reglage.json \
  ./usr/share/temperature1/exemples/p-retard.json \
  ./usr/share/applications/temperature1.desktop ./usr/share/icons/hicolor/scalable/apps/temperature1.svg \
  ./usr/share/metainfo/org.temperature1.temperature1.metainfo.xml \
  ./usr/share/doc/temperature1/copyright ./usr/share/doc/temperature1/changelog.gz \
  ./usr/share/man/man1/temperature1.1.gz ./usr/share/man/fr/man1/temperature1.1.gz; do
  echo "$contents" | grep -qxF "$f" || fail "the package lacks $f"
done

if command -v lintian >/dev/null; then
  # Its temporary files in a folder of the test's, removed with them.
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  TMPDIR=$scratch lintian --fail-on error "$deb" >"$out/lintian.txt" 2>&1 || {
    cat "$out/lintian.txt" >&2
    fail "lintian"
  }
fi
echo "package ok: $(basename "$deb")"
