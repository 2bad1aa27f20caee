#!/usr/bin/env bash
# The offline demo, run headless, loads the sample book, downloads it and leaves
# a PDF with one page per sample page image.
# Usage: check_demo.sh SOURCE_DIR PAGORA_BIN DEMO_SERVER_BIN
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export PAGORA_BIN=$2 PAGORA_DEMO_SERVER=$3 PAGORA_DEMO_OUT=$work
unset DISPLAY
if ! "$source_dir/scripts/demo.sh" >"$work/demo.out" 2>"$work/demo.err"; then
    cat "$work/demo.err" "$work"/*.log >&2 || true
    exit 1
fi

pdf=$(tail -n 1 "$work/demo.out")
[ -f "$pdf" ] || { echo "demo printed no PDF path: '$pdf'" >&2; exit 1; }
expected=$(find "$source_dir/demo/sample-book/files/mobile" -name '*.jpg' | wc -l)
pages=$(qpdf --show-npages "$pdf")
echo "PDF $pdf has $pages pages, the sample book $expected"
[ "$pages" -eq "$expected" ]
[ -s "$work/screenshot.png" ]
