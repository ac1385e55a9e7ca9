# Sourced by the scripts that drive the real program: a private X server of 1280 x 1024 (or the
# size in xvfb_screen, as WIDTHxHEIGHT) on a free display (or the number in xvfb_display), and a
# window manager on it when one is named.

xvfb_pid="" wm_pid=""

# xvfb_start LOG_FOLDER [WINDOW_MANAGER]: starts the server, with the options in xvfb_options when
# set, exports DISPLAY and waits until the server answers; then starts the window manager, when
# given, and gives it a second to settle.
xvfb_start() {
  local display=${xvfb_display:-$((300 + RANDOM % 400))}
  while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
    display=$((display + 1))
  done
  Xvfb ":$display" -screen 0 "${xvfb_screen:-1280x1024}x24" -noreset -nolisten tcp ${xvfb_options:-} >"$1/xvfb.log" 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display"
  for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
  if [ -n "${2:-}" ]; then
    "$2" >"$1/wm.log" 2>&1 &
    wm_pid=$!
    sleep 1
  fi
}

# session_begin [WINDOW_MANAGER]: a temporary folder $work, the program's settings in it, sound on
# SDL's silent dummy output and a private server; the program a script starts (its pid in
# app_pid), the server and the folder all go when the script exits.
session_begin() {
  work=$(mktemp -d)
  app_pid=""
  trap session_end EXIT
  export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime SDL_AUDIODRIVER=dummy
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  xvfb_start "$work" "${1:-}"
}
session_end() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  xvfb_stop
  rm -rf "$work"
}
fail() { echo "FAIL: $*" >&2; exit 1; }

# Ends the window manager and the server that xvfb_start started.
xvfb_stop() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wm_pid="" xvfb_pid=""
}

# wait_window TITLE [SECONDS]: true once a visible window whose title holds TITLE shows, false
# after SECONDS (10).
wait_window() {
  for _ in $(seq $((${2:-10} * 10))); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# wait_corner_at X Y [SECONDS]: true once a visible window of the program (X class quibman) has
# its top-left corner at X,Y, as a pop-up menu opened there does; false after SECONDS (5).
wait_corner_at() {
  local id
  for _ in $(seq $((${3:-5} * 10))); do
    for id in $(xdotool search --onlyvisible --class quibman 2>/dev/null); do
      [ "$(xdotool getwindowgeometry --shell "$id" | grep -E '^(X|Y)=' | tr '\n' ' ')" = "X=$1 Y=$2 " ] &&
        return 0
    done
    sleep 0.1
  done
  return 1
}
