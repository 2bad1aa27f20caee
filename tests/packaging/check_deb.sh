#!/usr/bin/env bash
# CPack builds a Debian package that holds the installed files and declares the
# program's run-time dependencies.
# Usage: check_deb.sh BUILD_DIR PROJECT_VERSION
set -euo pipefail
build=$1
version=$2
id=org.example.Pagora
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" ||
    { cat "$work/cpack.log" >&2; exit 1; }
deb=$(find "$work" -maxdepth 1 -name 'pagora_*.deb' -print -quit)
[ -n "$deb" ] || { echo "no .deb produced" >&2; cat "$work/cpack.log" >&2; exit 1; }

test "$(dpkg-deb -f "$deb" Package)" = pagora
test "$(dpkg-deb -f "$deb" Version)" = "$version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for need in libqt6widgets6 libcurl4 libhpdf qt6-qpa-plugins fonts-wqy-microhei xdg-utils; do
    grep -q "$need" <<<"$depends" || { echo "Depends lacks $need" >&2; exit 1; }
done

contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/pagora \
         ./usr/share/applications/$id.desktop \
         ./usr/share/metainfo/$id.metainfo.xml \
         ./usr/share/icons/hicolor/48x48/apps/$id.png \
         ./usr/share/icons/hicolor/scalable/apps/$id.svg; do
    grep -q " $f\$" <<<"$contents" || { echo "package lacks $f" >&2; exit 1; }
done
echo "debian package ok: $(basename "$deb")"
