#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop and a package manager
# find there; then packs it as a .deb and checks the package holds the same files.
# usage: install_test.sh <build folder> <source folder> <version>
set -euo pipefail
build=$1 source=$2 version=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
fail() { echo "FAIL: $*"; exit 1; }

# The install takes the program as it is in the build folder: bring it up to date first.
cmake --build "$build" --target vendrel >/dev/null
cmake --install "$build" --prefix "$prefix" >/dev/null

app=org.vendrel.Vendrel
for file in bin/vendrel share/applications/$app.desktop share/metainfo/$app.metainfo.xml \
            share/icons/hicolor/scalable/apps/$app.svg share/vendrel/VENDREL.HLP share/vendrel/vendrel-demo-server.py; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done
[ "$(stat -c %a "$prefix/bin/vendrel")" = 755 ] || fail "bin/vendrel is not 0755"
notReadOnly=$(find "$prefix" -type f ! -path "$prefix/bin/vendrel" ! -perm 644)
[ -z "$notReadOnly" ] || fail "not 0644: $notReadOnly"
cmp "$source/resources/icons/app/vendrel.svg" "$prefix/share/icons/hicolor/scalable/apps/$app.svg"
diff -r "$source/resources/demo" "$prefix/share/vendrel/demo-server"

# Warnings fail too: the desktop validator reports them on a successful exit.
desktopReport=$(desktop-file-validate "$prefix/share/applications/$app.desktop" 2>&1) || fail "$desktopReport"
[ -z "$desktopReport" ] || fail "$desktopReport"
appstreamcli validate --no-net --strict "$prefix/share/metainfo/$app.metainfo.xml" >/dev/null \
  || fail "$(appstreamcli validate --no-net --explain "$prefix/share/metainfo/$app.metainfo.xml")"

shown=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/vendrel" --version)
[ "$shown" = "Vendrel $version" ] || fail "installed vendrel --version says: $shown"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/package" >/dev/null
deb=$(echo "$scratch"/package/vendrel_"$version"_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libcurl4* ]] || fail "Depends: $depends"
installed=$(cd "$prefix" && find . -type f | sort)
packed=$(dpkg-deb --fsys-tarfile "$deb" | tar -t --quoting-style=literal | grep -v '/$' | sed 's|^\./usr/|./|' | sort)
[ "$installed" = "$packed" ] || fail "the package holds other files than the install: $(diff <(echo "$installed") <(echo "$packed"))"
owners=$(dpkg-deb --fsys-tarfile "$deb" | tar -tv --numeric-owner | awk '{print $2}' | sort -u)
[ "$owners" = 0/0 ] || fail "package files owned by $owners"
echo "installed and packed: $(echo "$installed" | wc -l) files"
