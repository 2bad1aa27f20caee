#!/usr/bin/env bash
# Draws the sample book's page images (committed; run again only to change them).
# Each page shows its number large enough to check the PDF's page order at a glance.
set -euo pipefail
cd "$(dirname "$0")/sample-book/files/mobile"
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
colours=("#f4e1c1" "#d9ead3" "#d0e0f0" "#f2d7e0" "#e6e0f4")
for n in 1 2 3 4 5; do
    convert -size 480x640 "xc:${colours[n - 1]}" -font "$font" -fill "#33302c" \
        -gravity north -pointsize 44 -annotate +0+48 "山间小记" \
        -pointsize 20 -annotate +0+112 "Pagora 离线演示样书" \
        -stroke "#33302c" -strokewidth 3 -fill none -draw "rectangle 60,180 420,500" \
        -stroke none -fill "#33302c" -gravity center -pointsize 200 -annotate +0+20 "$n" \
        -gravity south -pointsize 28 -annotate +0+56 "第 $n 页" \
        -quality 80 -strip "$n.jpg"
done
