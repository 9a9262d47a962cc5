#!/bin/bash
# The live tuner under a full load: a steady tone (an A2 12 cents sharp) is
# played for 40 s into a PulseAudio server of the script's own while the
# tuner hears it, and stress-ng loads every core for 10 s from the 15th
# second:  scripts/live-stress.sh [BUILD_DIR]     (default: build/release)
# It says what the gauge read before the load, how far it strayed during
# it, when after the load it read right again (within 1 cent of before) for
# good, and what the tuner says it lost (nothing said: nothing lost).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
command -v stress-ng >/dev/null || { echo "stress-ng is not installed (scripts/install-deps.sh)" >&2; exit 1; }
. "$root/scripts/private-pulse.sh"

python3 - "$work/a2.wav" <<'PY'
import math, struct, sys, wave
hz, rate = 110 * 2 ** (12 / 1200), 44100
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1), w.setsampwidth(2), w.setframerate(rate)
    w.writeframes(b"".join(struct.pack("<h", round(6000 * sum(math.sin(2 * math.pi * k * hz * i / rate) / k
                                                              for k in range(1, 5)))) for i in range(rate * 40)))
PY

"$build/app/drovane" --screen headless --clock real --capture live --playback null --precise \
  --duration 45 --trace-text >"$work/trace.txt" 2>"$work/tuner.err" &
tuner=$!
pids+=($tuner)
began=$(date +%s.%N)
paplay --device=drovane "$work/a2.wav" &
pids+=($!)
sleep 15
load_from=$(echo "$(date +%s.%N) - $began" | bc -l)
stress-ng --cpu "$(nproc)" --timeout 10s --quiet
load_to=$(echo "$(date +%s.%N) - $began" | bc -l)
wait "$tuner"
echo "tuner status: $?; load from $(printf %.1f "$load_from") s to $(printf %.1f "$load_to") s of the run"

# The gauge's readings: "TIME HZ" (0 while grey), taken from the trace.
awk -F'\t' '$2 == "Drovane" { hz = 0; if ($3 ~ / \| (Ok|Up|Down) \| /) { n = split($3, p, "\\\\n"); hz = p[n - 1] + 0 }
  print $1, hz }' "$work/trace.txt" >"$work/readings.txt"
awk -v from="$load_from" -v to="$load_to" '
  function cents(hz) { return hz > 0 ? 1200 * log(hz / before) / log(2) : 1e9 }
  $1 < from - 1 && $2 > 0 { before = $2 }
  $1 >= from && $1 <= to + 1 { during++; c = cents($2); d = c < 0 ? -c : c; if (d > worst) worst = d }
  $1 > to && $1 < 40 { c = cents($2); d = c < 0 ? -c : c; if (d > 1) wrong = $1 }
  $1 > to && !after { after = $1; afterhz = $2 }
  END {
    printf "before the load the gauge read %.2f Hz\n", before
    printf "during it: %d changes, the farthest %s cents off\n", during, (worst >= 1e9 ? "grey, or" : sprintf("%.2f", worst))
    if (wrong) printf "the last reading more than 1 cent off came %.2f s after the load ended\n", wrong - to
    else printf "right throughout after the load ended\n"
    printf "its first change after the load: at %.2f s, to %.2f Hz (0: grey; the tone ends at 40 s)\n", after, afterhz
  }' "$work/readings.txt"
echo "the tuner said on stderr:"
sed 's/^/  /' "$work/tuner.err"
