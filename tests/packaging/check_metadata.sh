#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo validate cleanly, agree with each
# other and with the project's version, and every icon the entry names exists in
# the sizes that are installed.
# Usage: check_metadata.sh PACKAGING_DIR PROJECT_VERSION
set -euo pipefail
dir=$1
version=$2
id=org.example.Pagora
desktop="$dir/$id.desktop"
metainfo="$dir/$id.metainfo.xml"

desktop-file-validate "$desktop"
# Hints are not failures for desktop-file-validate; a clean entry prints nothing.
test -z "$(desktop-file-validate "$desktop")"
appstreamcli validate --no-net --explain "$metainfo"

grep -qx "Name=Pagora 图书杂志下载" "$desktop"
grep -qx "Exec=pagora" "$desktop"
grep -qx "Icon=$id" "$desktop"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"
grep -q "<release version=\"$version\"" "$metainfo" ||
    { echo "metainfo has no release for version $version" >&2; exit 1; }

test "$(identify -format '%wx%h' "$dir/icons/$id-48.png")" = 48x48
test "$(identify -format '%wx%h' "$dir/icons/$id-128.png")" = 128x128
test "$(identify -format '%wx%h' "$dir/icons/$id-256.png")" = 256x256
grep -q '<svg' "$dir/icons/$id.svg"
echo "metadata ok"
