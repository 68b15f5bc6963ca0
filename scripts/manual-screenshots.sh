#!/usr/bin/env bash
# The manual's screenshots, made again from the demonstration core by the program's own grab tool:
#   bash scripts/manual-screenshots.sh GRAB-TOOL OUTDIR
# Each window alone (as the grab tool saves it), and the whole screen at 1600 x 900 and 1920 x 1080
# with a window manager drawing the captions. Every picture is kept under 200 KB.
set -euo pipefail
grab=$1
out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

shoot() {  # shoot SCREEN NAME OPTIONS
    xvfb-run -a -s "-screen 0 $1x24" bash -c "openbox >/dev/null 2>&1 & sleep 1; \
        ASAN_OPTIONS=detect_leaks=0 '$grab' '$work/$2' --demo '$3'" >/dev/null 2>&1
}
shoot 1600x900 small tools
shoot 1920x1080 wide tools
shoot 1600x900 propose propose
shoot 1600x900 compare compare
shoot 1600x900 chronology chronology

keep() {  # keep SOURCE NAME [WIDTH]: a palette PNG, narrowed to WIDTH pixels when given
    local resize=()
    [ -n "${3:-}" ] && resize=(-resize "$3x")
    convert "$work/$1" "${resize[@]}" +dither -colors 64 -strip "PNG8:$out/$2.png"
    local size
    size=$(stat -c %s "$out/$2.png")
    ((size < 200 * 1024)) || { echo "$out/$2.png is $size bytes, over 200 KB" >&2; exit 1; }
}
keep small/screen.png layout-1600x900 1200
keep wide/screen.png layout-1920x1080 1200
for window in main preview photo crop active-years scale scale-1m elastic note lamina-name about; do
    keep "small/$window.png" "$window"
done
keep small/curve-1.png curve-1 800
keep small/curve-4.png curve-4 800
keep propose/propose.png propose
keep compare/compare.png compare
keep chronology/chronology.png chronology
# Two of the manual's own pages as a reader sees them, for reviewing it (kept beside the manual).
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$grab" "$work/pages" --manual "$out/../manual.md" >/dev/null 2>&1
keep pages/manual-page-1.png ../manual-page-1 1000
keep pages/manual-page-2.png ../manual-page-2 1000
ls -l "$out" "$out"/../manual-page-*.png
