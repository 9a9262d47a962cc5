#!/bin/bash
# The tuner's cost in its real window, run by hand. On a private Xvfb it
# runs on the real clock with null playback, once with the demo paced in
# real time and once with silence (nothing changing on screen), and prints:
# the time from start to its first frame (its first text-trace line, written
# once the frame has gone to the window), the CPU it used over SECONDS after
# settling for a second (a share of one core, from /proc), and its peak
# resident memory.
#   bench/app/live_cost.sh BUILD_DIR [SECONDS]
set -e
tuner=${1:?usage: live_cost.sh BUILD_DIR [SECONDS]}/app/drovane
seconds=${2:-20}
runtime=$(mktemp -d)
mkfifo "$runtime/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$runtime/display" 2>"$runtime/xvfb.log" &
xvfb=$!
trap 'kill $xvfb; rm -rf "$runtime"' EXIT
read -r number <"$runtime/display"
export DISPLAY=:$number XDG_RUNTIME_DIR=$runtime SDL_AUDIODRIVER=dummy
ticks=$(getconf CLK_TCK)

cpu() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

for capture in demo silence; do
  rm -f "$runtime/trace"
  mkfifo "$runtime/trace"
  start=$(date +%s%N)
  "$tuner" --screen window --clock real --capture $capture --playback null --duration $((seconds + 2)) \
    --trace-text >"$runtime/trace" 2>/dev/null &
  pid=$!
  exec {trace}<"$runtime/trace"
  read -r _ <&$trace
  first=$(( ($(date +%s%N) - start) / 1000000 ))
  cat <&$trace >/dev/null &
  sleep 1
  before=$(cpu $pid)
  sleep "$seconds"
  after=$(cpu $pid)
  rss=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status")
  wait $pid || true
  exec {trace}<&-
  awk -v c=$capture -v f=$first -v b=$before -v a=$after -v t=$ticks -v s=$seconds -v r=$rss \
    'BEGIN { printf "%-8s first frame after %d ms, CPU %.2f %% of one core over %g s, peak RSS %.1f MB\n",
             c, f, 100 * (a - b) / t / s, s, r / 1024 }'
done
