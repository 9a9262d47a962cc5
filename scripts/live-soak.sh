#!/bin/bash
# A long live run of the tuner against a PulseAudio server of its own, with a
# recording looped into the server's null sink and heard from its monitor:
#   scripts/live-soak.sh [MINUTES [BUILD_DIR]]        (default: 60, build/release)
# Every minute it writes one line: the minute, the tuner's resident memory,
# its CPU use over that minute, and the screen texts it changed in that
# minute (a deaf tuner changes none). At the end: the growth of resident
# memory after the first minute, and what the tuner says it lost (overruns,
# underruns, devices lost; nothing said means nothing lost).
# It ends by itself; everything it started is stopped by the pid it started.
set -u
minutes=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${2:-$root/build/release}" && pwd)
. "$root/scripts/private-pulse.sh"

"$build/bench/tools/drovane_make_recording" 30 "$work/guitar.wav" 44100 2 || exit 1
(while :; do paplay --device=drovane "$work/guitar.wav" || exit; done) 2>"$work/paplay.log" &
pids+=($!)

"$build/app/drovane" --screen headless --clock real --capture live --playback null \
  --duration $((minutes * 60 + 5)) --trace-text >"$work/trace.txt" 2>"$work/tuner.err" &
tuner=$!
pids+=($tuner)

ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$tuner/stat" 2>/dev/null; }
rss() { awk '/^VmRSS/ {print $2}' "/proc/$tuner/status" 2>/dev/null; }
echo "minute rss_kb cpu_percent texts_changed"
last_cpu=$(cpu) last_lines=0 first_rss="" max_rss=0 min_rss=""
for minute in $(seq "$minutes"); do
  sleep 60
  kill -0 "$tuner" 2>/dev/null || break
  now_cpu=$(cpu) now_rss=$(rss) lines=$(wc -l <"$work/trace.txt")
  printf '%6d %6d %11.1f %13d\n' "$minute" "$now_rss" \
    "$(echo "($now_cpu - $last_cpu) * 100 / $ticks / 60" | bc -l)" $((lines - last_lines))
  last_cpu=$now_cpu last_lines=$lines
  if [ -z "$first_rss" ]; then first_rss=$now_rss; min_rss=$now_rss; fi
  [ "$now_rss" -gt "$max_rss" ] && max_rss=$now_rss
  [ "$now_rss" -lt "$min_rss" ] && min_rss=$now_rss
done
wait "$tuner"
status=$?
echo "tuner status: $status"
echo "resident memory after the first minute: from $first_rss kB, between $min_rss and $max_rss kB" \
  "(growth $((max_rss - first_rss)) kB)"
echo "the tuner said on stderr:"
sed 's/^/  /' "$work/tuner.err"
