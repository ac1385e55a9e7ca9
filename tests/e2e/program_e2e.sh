#!/usr/bin/env bash
# Runs build/dist/quibman under a private Xvfb. Arguments: the ready folder, a folder for the
# screenshots it leaves behind for people to look at.
set -euo pipefail
support=$(cd "$(dirname "$0")/../support" && pwd)
source "$support/program.sh"
dist=$(cd "$1" && pwd)
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"

# QM_E2E_WM=openbox runs the same under a window manager.
session_begin "${QM_E2E_WM:-}"
conf=$XDG_CONFIG_HOME/Tarvelle/QuibMan50.conf

value() { sed -n "s/^$1=//p" "$conf" | tr -d '\r'; }

# 0. A display that does not answer, or none: one line on standard error and exit status 1.
dead=$((${DISPLAY#:} + 1))
while [ -e "/tmp/.X11-unix/X$dead" ]; do dead=$((dead + 1)); done
for display in ":$dead" ""; do
  status=0
  (cd "$dist" && env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY="$display" ./quibman) \
    2>"$work/no_display.log" || status=$?
  [ "$status" = 1 ] && [ "$(wc -l <"$work/no_display.log")" = 1 ] &&
    grep -q "^quibman: no display" "$work/no_display.log" ||
    fail "no display '$display': status $status, $(cat "$work/no_display.log")"
done

# 1. The splash screen shows on a fresh start; Esc ends the program at once.
start
wait_window "About this game" || fail "no splash screen"
sleep 0.5
import -window root "$shots/splash.png"
xdotool key Escape
wait_exit
[ -f "$conf" ] || fail "no settings file"
[ -z "$(value SoundMode)" ] || fail "SoundMode written by Esc"

# 2. "(no sound)" and play: the device shows the clock, centred on the screen.
start_playing
import -window root "$shots/fullscreen.png"
for p in 2 3 4 5 7 8; do lit "$p" "$shots/fullscreen.png" $ox $oy || fail "clock place $p shows no ink"; done
lit 6 "$shots/fullscreen.png" $ox $oy && fail "clock place 6 is not blank"

for n in 1 2 3 4 5 6 7 8; do keys="${keys:-}$(value "Key$n") "; done
[ "$keys" = "2 3 4 6 37 39 40 38 " ] || fail "key bindings stored as $keys"
[ "$(value SoundMode)" = 2 ] || fail "SoundMode is $(value SoundMode)"
[ "$(value SplashScreen)" = 1 ] || fail "SplashScreen is $(value SplashScreen)"

# 3. The MODE key switches to game mode: a single 0 in place 8.
xdotool key 5
sleep 0.5
import -window root "$shots/game_mode.png"
for p in 1 2 3 4 5 6 7; do lit "$p" "$shots/game_mode.png" $ox $oy && fail "place $p lit in game mode"; done
lit 8 "$shots/game_mode.png" $ox $oy || fail "no 0 in place 8"

# 4. F12: the windowed layout, centred, its key colour cut out to the desktop.
xdotool key F12
sleep 1
import -window root "$shots/windowed.png"
read -r wx wy < <(xwininfo -id "$(xdotool search --onlyvisible --name Simulator | head -1)" |
  awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF } END { print x, y }')
[ "$wx" = "$ox" ] && [ "$wy" = "$(( oy < 0 ? 0 : oy ))" ] || fail "windowed layout at $wx,$wy"
corner=$(convert "$shots/windowed.png" -format "%[pixel:p{$wx,$wy}]" info:)
case "$corner" in *255,0,255*|magenta|fuchsia) fail "key colour shows at the corner" ;; esac
[ "$(value FullscreenMode)" = 0 ] || fail "FullscreenMode not stored"

# 5. Esc on the main window is the menu's Exit.
xdotool key Escape
wait_exit
echo "e2e passed; screenshots in $shots"
