#!/bin/sh
# measure-accuracy.sh [BUILD] [TAKES]
#
# The single-note accuracy report of the three measurers (the phone's, the
# guitar measurer with the precise refinement, the fine measurer), on notes
# rendered now into a private folder and removed after: the part the
# measurers are tuned on, then the held-out part (TimGM6mb, the string
# model's seeds from 100000, the held-out room) apart. TAKES string-model
# takes of each note (3 by default). Rows by material, clean and through the
# room; "bass E1" and "bass B0" gather the basses' lowest notes of every
# material (the tool's --only and --measurer narrow a run while tuning).
set -eu
build=${1:-build/release}
takes=${2:-3}
tool="$build/bench/measure/measure_accuracy"
[ -x "$tool" ] || { echo "$tool: not built" >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/tmp}/drovane-measure.XXXXXX")
trap 'rm -rf "$work"' EXIT
for part in tuning held-out; do
  "$tool" --part "$part" --takes "$takes" --work "$work"
  echo
done
