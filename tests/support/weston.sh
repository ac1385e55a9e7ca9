# Sourced after xvfb.sh: a Wayland compositor (weston, drawing into a window of the private X
# server) for the program to run on natively. Its desktop is one flat colour, without a panel, so
# see-through pixels can be compared with it.

weston_pid=""
weston_background="#2060a0"

# weston_start LOG_FOLDER [KEYBOARD_LAYOUT]: starts weston on DISPLAY with its own socket in
# XDG_RUNTIME_DIR, exports WAYLAND_DISPLAY and QT_QPA_PLATFORM=wayland and waits until it answers.
# Weston takes the X server's keyboard layout, which is set first.
weston_start() {
  setxkbmap -layout "${2:-us}"
  cat >"$1/weston.ini" <<INI
[core]
idle-time=0
[shell]
background-color=0xff${weston_background#\#}
panel-position=none
INI
  export WAYLAND_DISPLAY="qm-wayland-$$"
  weston --backend=x11-backend.so --use-pixman --width=1280 --height=1024 \
    --socket="$WAYLAND_DISPLAY" --config="$1/weston.ini" >"$1/weston.log" 2>&1 &
  weston_pid=$!
  export QT_QPA_PLATFORM=wayland
  for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && grep -q "launching.*desktop-shell" "$1/weston.log" &&
      break
    sleep 0.1
  done
  sleep 1
}

# weston_stop: ends weston; programs started afterwards run on X11 again.
weston_stop() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null || true
  weston_pid=""
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
}
