#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop reads of it: both programs,
# CodePage.txt, desktop entries that pass desktop-file-validate, scalable icons in the hicolor
# theme, and AppStream metainfo that passes appstreamcli validate.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" > /dev/null
for f in bin/sonavel bin/brindle share/sonavel/CodePage.txt \
         share/icons/hicolor/scalable/apps/sonavel.svg share/icons/hicolor/scalable/apps/brindle.svg; do
  [ -s "$prefix/$f" ] || { echo "missing: $f"; exit 1; }
done
desktop-file-validate "$prefix"/share/applications/sonavel.desktop "$prefix"/share/applications/brindle.desktop
appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml
# Each metainfo file launches an entry that is installed.
for m in "$prefix"/share/metainfo/*.metainfo.xml; do
  id=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$m")
  [ -f "$prefix/share/applications/$id" ] || { echo "$m launches $id, which is not installed"; exit 1; }
done
echo "install check passed"
