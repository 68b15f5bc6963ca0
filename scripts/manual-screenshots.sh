#!/usr/bin/env bash
# The manual's screenshots, made again from the demonstration core by the program's own grab tool:
#   bash scripts/manual-screenshots.sh GRAB-TOOL OUTDIR
# The first look at 1366 x 768, 1600 x 900 and 1920 x 1080 and the main window as the program itself
# shows them (with a window manager drawing the captions); each other window alone (as the grab tool
# saves it), and the screen with the tools shown. Every picture is kept under 200 KB.
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
# The first look, as the program itself opens the demonstration core (fresh settings, a fresh data folder).
program=$(dirname "$grab")/stratalyser
first_look() {  # first_look SCREEN FILE
    local home="$work/home-$1"
    mkdir -p "$home"
    cp References/Stratalyser_References.csv "$home/settings.csv"
    xvfb-run -a -s "-screen 0 $1x24" bash -c "openbox >/dev/null 2>&1 & sleep 1; \
        HOME='$home' XDG_DATA_HOME='$home/data' STRATALYSER_SETTINGS='$home/settings.csv' \
        STRATALYSER_GRAB_SCREEN='$work/$2' ASAN_OPTIONS=detect_leaks=0 '$program' --demo" >/dev/null 2>&1
}
first_look 1366x768 first-1366.png
first_look 1600x900 first-1600.png
first_look 1920x1080 first-1920.png
shoot 1600x900 small tools
shoot 1920x1080 wide tools
shoot 1600x900 propose propose
shoot 1600x900 compare compare
shoot 1600x900 chronology chronology
shoot 1600x900 export export

keep() {  # keep SOURCE NAME [WIDTH]: a palette PNG, narrowed to WIDTH pixels when given
    local resize=()
    [ -n "${3:-}" ] && resize=(-resize "$3x")
    convert "$work/$1" "${resize[@]}" +dither -colors 64 -strip "PNG8:$out/$2.png"
    local size
    size=$(stat -c %s "$out/$2.png")
    ((size < 200 * 1024)) || { echo "$out/$2.png is $size bytes, over 200 KB" >&2; exit 1; }
}
keep first-1366.png layout-1366x768 1200
keep first-1600.png layout-1600x900 1200
keep first-1920.png layout-1920x1080 1200
main_window=648x464  # the main window with its frame: 9720 x 6960 twips at 15 twips a pixel
convert "$work/first-1600.png" -crop "$main_window+0+0" "$work/first-main.png"
keep small/screen.png layout-tools-1600x900 1200
keep first-main.png main
for window in preview photo crop active-years scale scale-1m elastic note lamina-name about; do
    keep "small/$window.png" "$window"
done
keep small/curve-1.png curve-1 800
keep small/curve-4.png curve-4 800
keep propose/propose.png propose
keep compare/compare.png compare
keep chronology/chronology.png chronology
keep chronology/chronology-plot.png chronology-plot 800
keep export/export.png export
keep export/file-menu.png file-menu
keep export/exported-curves.png exported-curves 800
# Two of the manual's own pages as a reader sees them, for reviewing it (kept beside the manual).
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$grab" "$work/pages" --manual "$out/../manual.md" >/dev/null 2>&1
keep pages/manual-page-1.png ../manual-page-1 1000
keep pages/manual-page-2.png ../manual-page-2 1000
ls -l "$out" "$out"/../manual-page-*.png
