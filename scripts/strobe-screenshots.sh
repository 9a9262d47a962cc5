#!/bin/sh
# The strobe screen in tune, half a cent flat and five cents sharp, and the
# gauge with the cents of --precise, for the docs: the tuner runs headless on
# a steady A2 (the tone source) at each offset and keeps its screen at 2 s.
#   scripts/strobe-screenshots.sh [BUILD_DIR] [OUT_DIR]
set -e
build=${1:-build/release}
out=${2:-docs/screenshots}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
hz() { python3 -c "print('%.6f' % (110 * 2 ** ($1 / 1200)))"; }
shot() {
  name=$1 cents=$2
  shift 2
  echo "2 screenshot $out/$name.png" >"$work/script"
  "$build/app/drovane" --screen headless --clock virtual --capture "tone:$(hz "$cents")" --playback null \
    --duration 2.5 --script "$work/script" "$@" >/dev/null
}
shot strobe-in-tune 0 --strobe
shot strobe-half-cent-flat -0.5 --strobe
shot strobe-five-cents-sharp 5 --strobe
shot gauge-precise 2.3 --precise
