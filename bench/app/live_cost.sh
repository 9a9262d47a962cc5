#!/bin/bash
# The tuner's cost live in its real window, side by side with the tuners
# Debian has, run by hand:
#   bench/app/live_cost.sh BUILD_DIR [SECONDS] [BEFORE_BUILD_DIR]
# On a private Xvfb and a private PulseAudio server (a null sink, whose
# monitor is the default source), with a guitar note (drovane-tone's A
# string, 3 s, looped) played into the sink, each program runs in its window
# and hears the loop: the tuner's gauge, its strobe (--strobe), each again
# with the loop stopped (silence), the tuner of BEFORE_BUILD_DIR when given
# (its gauge and strobe, heard and in silence), each tuner's gauge again with
# its speaker open as a player runs it (the others have --playback null),
# and Lingot and FMIT where installed.
# Each is measured over SECONDS (default 20) after settling for 3 s: its
# share of one core (user and system time, from /proc) and its resident
# memory at the end and at its peak. Without PulseAudio, the demo and
# silence paced in real time stand in for the loop (no peers then).
set -e
build=${1:?usage: live_cost.sh BUILD_DIR [SECONDS] [BEFORE_BUILD_DIR]}
seconds=${2:-20}
before=${3:-}
settle=3
runtime=$(mktemp -d)
pids=()
stop_all() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$runtime"
}
trap stop_all EXIT

mkfifo "$runtime/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$runtime/display" 2>"$runtime/xvfb.log" &
pids+=($!)
read -r number <"$runtime/display"
export DISPLAY=:$number XDG_RUNTIME_DIR=$runtime HOME=$runtime
ticks=$(getconf CLK_TCK)

cpu() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
kb() { awk -v k="$2" '$1 == k":" { print $2 }' "/proc/$1/status"; }

# measure NAME COMMAND...: runs COMMAND, measures it, stops it.
measure() {
  local name=$1
  shift
  "$@" >"$runtime/out" 2>"$runtime/err" &
  local pid=$!
  sleep "$settle"
  if ! kill -0 $pid 2>/dev/null; then
    printf '%-36s did not run: %s\n' "$name" "$(head -c 200 "$runtime/err")"
    return
  fi
  local b a rss hwm
  b=$(cpu $pid)
  sleep "$seconds"
  a=$(cpu $pid)
  rss=$(kb $pid VmRSS)
  hwm=$(kb $pid VmHWM)
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
  awk -v n="$name" -v b=$b -v a=$a -v t=$ticks -v s=$seconds -v r=$rss -v h=$hwm \
    'BEGIN { printf "%-36s %6.2f %% of a core   RSS %6.1f MB (peak %6.1f MB)\n", n, 100 * (a - b) / t / s, r / 1024, h / 1024 }'
}

tuner() { exec "$1/app/drovane" --screen window --clock real --playback null "${@:2}"; }
# As a player runs it: the speaker open too (paused between tones).
speaker() { exec "$1/app/drovane" --screen window --clock real "${@:2}"; }

if ! command -v pulseaudio >/dev/null; then
  echo "no PulseAudio: the demo and silence paced in real time, no peers"
  export SDL_AUDIODRIVER=dummy
  for b in "$build" $before; do
    for capture in demo silence; do
      measure "$(basename "$(dirname "$b")")/$(basename "$b") $capture" tuner "$b" --capture $capture
    done
  done
  exit 0
fi

export PULSE_SERVER=unix:$runtime/native SDL_AUDIODRIVER=pulseaudio
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$runtime/native" \
  -L "module-null-sink sink_name=guitar" >"$runtime/pulse.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink guitar
pactl set-default-source guitar.monitor

"$build/tools/drovane-tone" --string 2 --out "$runtime/note.wav"
python3 - "$runtime/note.wav" "$runtime/loop.wav" <<'EOF'
import sys, wave
r = wave.open(sys.argv[1]); frames = r.readframes(r.getnframes())
w = wave.open(sys.argv[2], "wb"); w.setparams(r.getparams())
for _ in range(100): w.writeframes(frames)
EOF
paplay "$runtime/loop.wav" &
loop=$!
pids+=($loop)

label() { [ "$1" = "$build" ] && echo "drovane $2" || echo "drovane before: $2"; }
# Every program once, hearing what the sink plays now.
each() {
  measure "$(label "$build" gauge)" tuner "$build" --capture live
  measure "$(label "$build" strobe)" tuner "$build" --capture live --strobe
  [ -n "$before" ] && measure "$(label "$before" gauge)" tuner "$before" --capture live
  [ -n "$before" ] && measure "$(label "$before" strobe)" tuner "$before" --capture live --strobe
  measure "$(label "$build" "gauge +speaker")" speaker "$build" --capture live
  [ -n "$before" ] && measure "$(label "$before" "gauge +speaker")" speaker "$before" --capture live
  command -v lingot >/dev/null && measure "lingot" lingot
  command -v fmit >/dev/null && QT_QPA_PLATFORM=xcb measure "fmit" fmit
  return 0
}
echo "heard: drovane-tone's A string looped into PulseAudio, ${seconds} s each"
each
kill $loop
wait $loop 2>/dev/null || true
echo "silence: the loop stopped"
each
exit 0
