# Sourced by the live-run scripts: a PulseAudio server of the script's own in
# a private folder ($work), with a null sink "drovane" whose monitor is the
# default source, and everything started stopped by its pid at exit (add
# pids to $pids).
work=$(mktemp -d /tmp/drovane-live.XXXXXX)
export XDG_RUNTIME_DIR=$work HOME=$work PULSE_SERVER=unix:$work/native SDL_AUDIODRIVER=pulseaudio \
  SDL_AUDIO_INCLUDE_MONITORS=1
pids=()
stop_all() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap stop_all EXIT

pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$work/native" \
  -L "module-null-sink sink_name=drovane" >"$work/pulse.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { echo "PulseAudio did not start: $(cat "$work/pulse.log")" >&2; exit 1; }
pactl set-default-source drovane.monitor
