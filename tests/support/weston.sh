# Sourced after xvfb.sh: a Wayland compositor (weston, drawing into a window of the private X
# server) for the program to run on natively. Its desktop is one flat colour, without a panel, so
# see-through pixels can be compared with it.

weston_pid="" weston_xdisplay=""
weston_background="#2060a0"

# weston_start LOG_FOLDER [KEYBOARD_LAYOUT]: starts weston on DISPLAY with its own socket in
# XDG_RUNTIME_DIR, exports WAYLAND_DISPLAY and QT_QPA_PLATFORM=wayland and waits until it answers.
# Weston takes the X server's keyboard layout, which is set first. It also serves X11 programs
# through XWayland, on the display in weston_xdisplay.
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
  weston --backend=x11-backend.so --use-pixman --width=1280 --height=1024 --xwayland \
    --socket="$WAYLAND_DISPLAY" --config="$1/weston.ini" >"$1/weston.log" 2>&1 &
  weston_pid=$!
  export QT_QPA_PLATFORM=wayland
  for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && grep -q "launching.*desktop-shell" "$1/weston.log" &&
      break
    sleep 0.1
  done
  weston_xdisplay=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$1/weston.log")
  sleep 1
  # Weston follows the pointer only once it has entered its window.
  for at in "10 10" "640 512" "20 20"; do xdotool mousemove $at; sleep 0.2; done
}

# weston_stop: ends weston; programs started afterwards run on X11 again.
weston_stop() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null || true
  weston_pid="" weston_xdisplay=""
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
}
