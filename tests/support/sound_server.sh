# Sourced by the scripts that need a real sound server: a PulseAudio server of their own, with one
# null sink (no real device) and the sink's monitor as the default source, in a private runtime
# folder that the programs they start find through XDG_RUNTIME_DIR.

sound_server_pid=""

# sound_server_start FOLDER: starts the server with its files in FOLDER; false when it does not
# answer within 10 seconds (its log is FOLDER/pulse.log).
sound_server_start() {
  local folder=$1
  mkdir -p -m 700 "$folder/runtime"
  cat >"$folder/server.pa" <<PA
load-module module-native-protocol-unix
load-module module-null-sink sink_name=qm_null
set-default-sink qm_null
set-default-source qm_null.monitor
PA
  export XDG_RUNTIME_DIR=$folder/runtime HOME=$folder PULSE_RUNTIME_PATH=$folder/runtime/pulse
  unset PULSE_SERVER SDL_AUDIODRIVER
  pulseaudio -n -F "$folder/server.pa" --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --log-target=stderr >"$folder/pulse.log" 2>&1 &
  sound_server_pid=$!
  for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && return 0
    kill -0 "$sound_server_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

sound_server_stop() {
  [ -n "$sound_server_pid" ] && kill "$sound_server_pid" 2>/dev/null && wait "$sound_server_pid" 2>/dev/null || true
  sound_server_pid=""
}
