#!/bin/sh
# instrument-screenshots.sh [BUILD] [OUT]
#
# The tuner's screen with a five-string bass's tuning, for the docs: its A
# string (A1, 55 Hz, the tone tool's own pluck) read in tune, and its menu
# with the five strings. Runs the tuner headless on the virtual clock, so the
# pictures are the same each time. BUILD defaults to build/release, OUT to
# docs/screenshots.
set -eu
build=${1:-build/release}
out=${2:-docs/screenshots}
work=$(mktemp -d "${TMPDIR:-/tmp}/drovane-shots.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$build/tools/drovane-tone" --tuning bass-5 --string 3 --out "$work/a1.wav"
cat >"$work/script" <<SCRIPT
0.3 key 3
2.0 screenshot $out/bass-5.png
2.2 key softright
2.4 screenshot $out/bass-5-menu.png
2.6 key back
SCRIPT
"$build/app/drovane" --screen headless --clock virtual --tuning bass-5 --capture "$work/a1.wav" \
  --playback null --duration 3 --script "$work/script" >/dev/null
echo "wrote $out/bass-5.png and $out/bass-5-menu.png"
