#!/usr/bin/env bash
# Opens the hosted editor on a virtual X display with a window manager while
# audio plays, opens and closes it many times first, and saves a screenshot.
# usage: editor-screenshot.sh <lumaspan-host> <bundle> <png>
set -euo pipefail

tool="$1"
bundle="$2"
png="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# twm's default fonts are not installed everywhere; "fixed" always is.
printf 'TitleFont "fixed"\nResizeFont "fixed"\nMenuFont "fixed"\nIconFont "fixed"\nIconManagerFont "fixed"\nRandomPlacement\n' >"$work/twmrc"
cat >"$work/session.sh" <<'INNER'
LC_ALL=C twm -f "$1" >/dev/null 2>&1 &
wm=$!
sleep 1
shift
status=0
"$@" || status=$?
kill "$wm" 2>/dev/null || true
exit "$status"
INNER

output="$(timeout 120 xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/session.sh" "$work/twmrc" \
    "$tool" screenshot "$bundle" "$png" --cycles 100 --seconds 2 2>&1)"
echo "$output"

grep -qx "editor: opened and closed 100 times while audio played" <<<"$output" || { echo "FAIL: open/close cycles"; exit 1; }
geometry="$(grep -o '^editor: 800 x 580 at [0-9]*,[0-9]*$' <<<"$output")" || { echo "FAIL: the editor is not 800 x 580"; exit 1; }
grep -q "^audio: [1-9][0-9]* samples played" <<<"$output" || { echo "FAIL: no audio was played"; exit 1; }
[ -s "$png" ] || { echo "FAIL: no screenshot"; exit 1; }

# The editor's area must hold its own drawing, not the bare black root window.
origin="${geometry##* at }"
mean="$(convert "$png" -crop "800x580+${origin%,*}+${origin#*,}" +repage -colorspace gray -format '%[fx:mean]' info:)"
echo "mean level of the editor's area: $mean"
awk -v m="$mean" 'BEGIN { exit !(m > 0.01) }' || { echo "FAIL: the editor's area is empty"; exit 1; }
echo "ok: $png"
