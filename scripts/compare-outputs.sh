#!/bin/sh
# compare-outputs.sh BASELINE_BUILD NEW_BUILD [WORKDIR]
#
# Runs two Release builds of the tools and the tuner on the same inputs and
# says whether every output is byte for byte the same: drovane-analyze (CSV,
# and JSON with --calibrate, each with and without --precise) on the demo and
# on a set of recordings, drovane-tone for the six strings, and a scripted
# headless tuner run (keys, menu, Auto Calibrate, About) by its text trace,
# screenshots and played tones. The inputs are made once by the baseline's own
# tools (and python3 for sines and plucks). Exit status 0 when all is the
# same, 1 when anything differs or a program failed, 2 on a usage error.
set -u
if [ $# -lt 2 ] || [ $# -gt 3 ]; then
  echo "usage: $0 BASELINE_BUILD NEW_BUILD [WORKDIR]" >&2
  exit 2
fi
base=$(cd "$1" && pwd) || exit 2
new=$(cd "$2" && pwd) || exit 2
work=${3:-$(mktemp -d "${TMPDIR:-/tmp}/drovane-compare.XXXXXX")}
mkdir -p "$work/in" "$work/base" "$work/new" || exit 2
for b in "$base" "$new"; do
  for p in tools/drovane-analyze tools/drovane-tone app/drovane; do
    [ -x "$b/$p" ] || { echo "$b/$p: not built" >&2; exit 2; }
  done
done
[ -x "$base/bench/tools/drovane_make_recording" ] || { echo "$base: drovane_make_recording not built" >&2; exit 2; }

failed=0
fail() { echo "FAILED: $*" >&2; failed=1; }

# Inputs: the timing recording at the tuner's rate and as 44.1 kHz stereo
# (WAV and FLAC), tones of the tone tool at fractional notes, sines and
# harmonic plucks at chosen pitches, and silence with a plucked tail.
make_inputs() {
  rec="$base/bench/tools/drovane_make_recording"
  "$rec" 14 "$work/in/strings-22050.wav" || fail "recording"
  "$rec" 14 "$work/in/strings-44100-stereo.wav" 44100 2 || fail "recording"
  "$rec" 14 "$work/in/strings-44100-stereo.flac" 44100 2 || fail "recording"
  for note in 40 45.3 52.75 64 76.1; do
    "$base/tools/drovane-tone" --note "$note" --out "$work/in/tone-$note.wav" || fail "tone $note"
  done
  python3 - "$work/in" <<'EOF' || fail "sines and plucks"
import math, struct, sys, wave
def write(name, samples, rate=22050):
    with wave.open(f"{sys.argv[1]}/{name}.wav", "wb") as w:
        w.setnchannels(1); w.setsampwidth(2); w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", max(-32768, min(32767, math.floor(v + 0.5)))) for v in samples))
def hertz(note, cents=0.0):
    return 440.0 * 2 ** ((note + cents / 100 - 69) / 12)
def sine(f, amp, n, rate=22050):
    return [amp * math.sin(2 * math.pi * f * i / rate) for i in range(n)]
def pluck(f, amp, n, decay=1.5, rate=22050):
    out = []
    for i in range(n):
        t = i / rate
        v = sum(math.exp(-t * h / (decay * 2)) / h * math.sin(2 * math.pi * h * f * t + 0.3 * h)
                for h in range(1, 9) if h * f < 11025)
        out.append(amp * 0.6 * math.exp(-t / decay) * v)
    return out
write("sine-a-sharp", sine(hertz(45.3), 12000, 22050 * 4) + [0] * (22050 * 3))
write("sine-e4-flat", sine(hertz(64, -17), 8000, 22050 * 3))
write("sine-quiet", sine(hertz(55, 8), 300, 22050 * 2))
write("pluck-e2", pluck(hertz(40, 12), 20000, 22050 * 4))
write("pluck-b3", pluck(hertz(59, -23), 15000, 22050 * 3))
write("pluck-44100", pluck(hertz(50, 5), 15000, 44100 * 3, rate=44100), rate=44100)
write("silence-then-pluck", [0] * 22050 + pluck(hertz(55), 15000, 22050 * 3))
EOF
}

# Everything a build writes for the inputs, into DIR.
run_build() {
  b=$1 out=$2
  an="$b/tools/drovane-analyze"
  for input in --demo "$work"/in/*.wav "$work"/in/*.flac; do
    name=$(basename -- "$input" | sed 's/^--//')
    for precise in "" --precise; do
      tag="$name${precise:+-precise}"
      "$an" $precise --csv "$input" >"$out/$tag.csv" 2>"$out/$tag.csv.err"
      echo "status $?" >>"$out/$tag.csv.err"
      "$an" $precise --json --calibrate "$input" >"$out/$tag.json" 2>"$out/$tag.json.err"
      echo "status $?" >>"$out/$tag.json.err"
    done
  done
  "$an" --calibrate "$work"/in/*.wav >"$out/all.txt" 2>&1
  for n in 1 2 3 4 5 6; do
    "$b/tools/drovane-tone" --string "$n" --out "$out/string-$n.wav" >"$out/string-$n.log" 2>&1 ||
      fail "$b: drovane-tone --string $n"
  done
  for precise in "" --precise; do
    tag="session${precise:+-precise}"
    script="$out/$tag.script"
    cat >"$script" <<EOF
0.5 key up
0.6 key up
0.8 key down
1.0 screenshot $out/$tag-start.png
1.5 key softright
1.7 key 1
5.0 key 1
6.0 screenshot $out/$tag-calibrated.png
9.0 key softright
9.2 key 5
12.7 key 2
16.5 key softright
16.7 tap 200 216
20.5 key softright
20.7 key 8
21.0 screenshot $out/$tag-about.png
21.5 key enter
EOF
    "$b/app/drovane" --screen headless --clock virtual $precise --capture "$work/in/sine-a-sharp.wav" \
      --playback "$out/$tag.wav" --duration 22.5 --script "$script" --trace-text \
      --screenshot "$out/$tag.png" >"$out/$tag.trace" 2>"$out/$tag.err" || fail "$b: drovane $precise"
    "$b/app/drovane" --screen headless --clock virtual $precise --capture demo --playback null \
      --trace-text --screenshot "$out/demo$precise.png" >"$out/demo$precise.trace" 2>&1 || fail "$b: drovane demo"
  done
  # Paths into the output folder differ between the two builds; nothing else may.
  sed -i "s|$out|OUT|g" "$out"/*.script "$out"/*.trace "$out"/*.err "$out"/*.log 2>/dev/null
}

make_inputs
run_build "$base" "$work/base"
run_build "$new" "$work/new"

count=$(ls "$work/base" | wc -l)
if diff -r "$work/base" "$work/new" >"$work/differences" 2>&1; then
  echo "identical: $count outputs of $(ls "$work/in" | wc -l) inputs (in $work)"
else
  echo "DIFFERENT: see $work/differences" >&2
  head -40 "$work/differences" >&2
  failed=1
fi
exit $failed
