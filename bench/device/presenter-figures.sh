#!/bin/sh
# The window presenter's figures, measured on the device running the small
# test program in a private Xvfb: CPU time while it sits idle for 5 s, and
# frames shown per key press.
# Run: bench/device/presenter-figures.sh BUILD_DIR
set -e
build=${1:?usage: presenter-figures.sh BUILD_DIR}
program="$build/tests/device/phone_test_program"
runtime=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$runtime"' EXIT
exec 3>"$runtime/display"
XDG_RUNTIME_DIR=$runtime Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null &
xvfb=$!
while [ ! -s "$runtime/display" ]; do sleep 0.1; done
export DISPLAY=":$(cat "$runtime/display")" SDL_AUDIODRIVER=dummy DROVANE_PRESENTER_STATS=1

# Seconds of CPU (user + system) and the frames shown by one run of a script.
run() {
  printf '%s\n' "$@" >"$runtime/script"
  /usr/bin/time -f '%U %S' -o "$runtime/time" "$program" --screen window --scale 2 --capture silence \
    --playback null --script "$runtime/script" 2>"$runtime/err" >/dev/null
  cpu=$(awk '{ print $1 + $2 }' "$runtime/time")
  frames=$(sed -n 's/.*presenter: \([0-9]*\) frames shown.*/\1/p' "$runtime/err")
}

run "1 quit"; cpu1=$cpu
run "6 quit"; cpu6=$cpu
echo "idle for 5 s: $(echo "$cpu6 - $cpu1" | bc -l) s of CPU" \
  "($cpu6 s for a 6 s run, $cpu1 s for a 1 s run)"
run "1 quit"; base=$frames
run "1 key 1" "1.3 key 2" "1.6 key 3" "1.9 key 4" "2.2 key 5" "2.5 key 6" "2.8 key 7" "3.1 key 8" "3.4 key 9" \
  "3.7 key 0" "4 quit"
echo "frames per key press: $(echo "scale=2; ($frames - $base) / 10" | bc -l) ($frames frames with 10 presses, $base without)"
