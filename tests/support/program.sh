# Sourced by the scripts that drive the program in the ready folder $dist within a session of
# xvfb.sh, which it brings along with config_ini.sh.
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
source "$(dirname "${BASH_SOURCE[0]}")/config_ini.sh"

# start: the program, its output in $work/app.log, its pid in app_pid.
start() {
  (cd "$dist" && exec ./quibman) >"$work/app.log" 2>&1 &
  app_pid=$!
}
# start_playing: the program started and played from its splash screen with "(no sound)"; ox and
# oy the top-left corner of the handheld, centred on the screen in the full-screen layout.
start_playing() {
  start
  wait_window "About this game" || fail "no splash screen"
  sleep 0.5
  xdotool key Down Down Down Return
  wait_window "Simulator" || fail "no main window"
  sleep 1.5
  read -r gw gh < <(game_size "$dist/Config.ini")
  ox=$(((1280 - gw) / 2)) oy=$(((1024 - gh) / 2))
}
wait_exit() {
  for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || { app_pid=""; return 0; }; sleep 0.1; done
  fail "the program did not end"
}

# box_ink N SCREENSHOT X Y: the share of the pixels of the picture box of [ImageN] in the shipped
# Config.ini dark enough to be lit LCD ink, with the handheld's top-left corner at X,Y.
box_ink() {
  read -r w h l t < <(skin_rect "$1" "$dist/Config.ini")
  convert "$2" -crop "${w}x${h}+$((l + $3))+$((t + $4))" -colorspace Gray -threshold 25% \
    -negate -format '%[fx:mean]' info:
}
box_lit() { awk -v v="$(box_ink "$@")" 'BEGIN { exit !(v > 0.01) }'; }
# lit PLACE SCREENSHOT X Y: whether digit place PLACE (1..8) shows ink.
lit() { box_lit $((20 + $1)) "${@:2}"; }
