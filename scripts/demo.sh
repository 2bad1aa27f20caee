#!/usr/bin/env bash
# Offline demo: serves the bundled sample book on 127.0.0.1, starts Pagora and
# puts the sample's address on the clipboard.
#
# With a display you double-click the book address box and press 下载 yourself.
# Without one ($DISPLAY empty), or with --headless, the demo runs under Xvfb,
# does both itself, waits for the completion message, saves a screenshot and
# prints the PDF's path as the last line of its output.
#
# Environment (all optional):
#   PAGORA_BIN, PAGORA_DEMO_SERVER  use these builds instead of building them
#   PAGORA_DEMO_OUT                 work folder (default: build/demo-run)
#   PAGORA_DEMO_TIMEOUT             seconds to wait for each step (default: 60)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
book_dir="$root/demo/sample-book"
out=${PAGORA_DEMO_OUT:-$root/build/demo-run}
timeout_s=${PAGORA_DEMO_TIMEOUT:-60}

headless=0
case "${1:-}" in
    --headless) headless=1 ;;
    "") [ -n "${DISPLAY:-}" ] || headless=1 ;;
    *) echo "usage: $0 [--headless]" >&2; exit 2 ;;
esac

say() { echo "demo: $*" >&2; }
fail() { say "$*"; exit 1; }

# Polls "$@" every 0.2 s until it succeeds or the timeout has passed.
wait_for() {
    local tries=$((timeout_s * 5))
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.2
    done
}

# --- the program and the server --------------------------------------------
if [ -z "${PAGORA_BIN:-}" ] || [ -z "${PAGORA_DEMO_SERVER:-}" ]; then
    "$root/scripts/install-deps.sh" >&2
    if [ ! -f "$root/build/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$root/build" -G Ninja -DPAGORA_BUILD_TESTS=OFF >&2
    fi
    cmake --build "$root/build" -j"$(nproc)" --target pagora pagora-demo-server >&2
    PAGORA_BIN=${PAGORA_BIN:-$root/build/src/app/pagora}
    PAGORA_DEMO_SERVER=${PAGORA_DEMO_SERVER:-$root/build/demo/pagora-demo-server}
fi
[ -x "$PAGORA_BIN" ] || fail "no program at $PAGORA_BIN"
[ -x "$PAGORA_DEMO_SERVER" ] || fail "no demo server at $PAGORA_DEMO_SERVER"

# The program saves the book in a folder next to itself, so it runs from a copy
# in the work folder: the PDF lands there and nowhere else.
program_dir="$out/program"
rm -rf "$program_dir"
mkdir -p "$program_dir"
cp "$PAGORA_BIN" "$program_dir/pagora"

title=$(sed -n 's/^ *title: "\(.*\)",$/\1/p' "$book_dir/index.html")
pages=$(sed -n 's/^ *pages: "\(.*\)",$/\1/p' "$book_dir/index.html")

pids=()
cleanup() {
    local pid
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        pid=${pids[i]}
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# --- a display ---------------------------------------------------------------
if [ "$headless" = 1 ]; then
    rm -f "$out/display"
    # -displayfd picks a free display and writes its number once it accepts clients.
    Xvfb -displayfd 5 -screen 0 1024x600x24 -nolisten tcp 5>"$out/display" 2>"$out/xvfb.log" &
    pids+=($!)
    wait_for grep -qs . "$out/display" || fail "Xvfb did not start (see $out/xvfb.log)"
    export DISPLAY=":$(head -n 1 "$out/display")"
    say "running headless on display $DISPLAY"
fi

"$PAGORA_DEMO_SERVER" --root "$book_dir" >"$out/server.out" 2>"$out/server.log" &
pids+=($!)
wait_for grep -qs '^http://' "$out/server.out" || fail "the demo server did not start (see $out/server.log)"
address=$(head -n 1 "$out/server.out")

printf '%s' "$address" >"$out/address.txt"
xclip -selection clipboard -quiet -i "$out/address.txt" >/dev/null 2>&1 &
pids+=($!)
clipboard_ready() { [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$address" ]; }
wait_for clipboard_ready || fail "could not put the address on the clipboard"

(cd "$program_dir" && exec ./pagora) >"$out/pagora.log" 2>&1 &
app_pid=$!
pids+=("$app_pid")

pdf_path() { find "$program_dir" -name '*.pdf' -print -quit; }

if [ "$headless" = 0 ]; then
    say "the sample book 《$title》($pages pages) is served at $address"
    say "its address is on the clipboard: double-click the book address box, then press 下载"
    say "the PDF will land in $program_dir/$title/"
    wait "$app_pid" || true
    pdf=$(pdf_path)
    [ -n "$pdf" ] && echo "$pdf"
    exit 0
fi

# --- the same steps, done by xdotool -------------------------------------------
window_shown() { xdotool search --onlyvisible --name Pagora >/dev/null 2>&1; }
wait_for window_shown || fail "the program's window did not appear (see $out/pagora.log)"
window=$(xdotool search --onlyvisible --name Pagora | head -n 1)

# Double-click the middle of the book address box (192,8 200x32). The window
# may still be settling into its centred place when it first shows, so a
# double-click that loaded nothing is tried again; loading twice does no harm.
cover_fetched() { grep -q 'files/mobile/1\.jpg' "$out/server.log"; }
for attempt in 1 2 3; do
    sleep 0.5
    xdotool mousemove --window "$window" 292 24 click --repeat 2 --delay 80 1
    timeout_s=10 wait_for cover_fetched && break
    [ "$attempt" = 3 ] && fail "the book page was not loaded (see $out/server.log)"
done
sleep 0.5

# Press 下载 (528,105 80x47).
xdotool mousemove --window "$window" 568 128 click 1
message_shown() { xdotool search --onlyvisible --name '信息' >/dev/null 2>&1; }
wait_for message_shown || fail "no completion message appeared (see $out/pagora.log, $out/server.log)"
sleep 0.5
# Close the message box with its OK button, so the screenshot shows the window.
box=$(xdotool search --onlyvisible --name '信息' | head -n 1)
xdotool windowfocus --sync "$box" key Return 2>/dev/null || xdotool key Return
message_closed() { ! message_shown; }
wait_for message_closed || fail "the completion message did not close"
sleep 0.3

# Without a window manager the window has no frame: its geometry is its client area.
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/screenshot.png"
say "screenshot: $out/screenshot.png"
pdf=$(pdf_path)
[ -n "$pdf" ] || fail "the completion message appeared but no PDF was found under $program_dir"
echo "$pdf"
