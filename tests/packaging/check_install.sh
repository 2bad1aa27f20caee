#!/usr/bin/env bash
# `cmake --install` into a scratch DESTDIR gives the program, a valid desktop
# entry, the hicolor icons it names and valid AppStream metainfo.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
id=org.example.Pagora
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
usr="$stage/usr"

missing=0
for f in bin/pagora \
         share/applications/$id.desktop \
         share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/scalable/apps/$id.svg \
         share/icons/hicolor/48x48/apps/$id.png \
         share/icons/hicolor/128x128/apps/$id.png \
         share/icons/hicolor/256x256/apps/$id.png; do
    [ -e "$usr/$f" ] || { echo "not installed: $f" >&2; missing=1; }
done
[ "$missing" = 0 ]
[ -x "$usr/bin/pagora" ]
test "$(identify -format '%wx%h' "$usr/share/icons/hicolor/48x48/apps/$id.png")" = 48x48

test -z "$(desktop-file-validate "$usr/share/applications/$id.desktop")"
# validate-tree also checks that the metainfo, the desktop entry and the icon
# are found together under the installed prefix.
appstreamcli validate-tree --no-net "$stage"
echo "install tree ok"
