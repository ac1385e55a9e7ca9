#!/usr/bin/env bash
# Runs build/dist/quibman natively on a Wayland compositor (weston, inside a private Xvfb) with a
# French keyboard, then under an X11 window manager (openbox). Arguments: the ready folder, a
# folder for the screenshots it leaves behind for people to look at.
set -euo pipefail
support=$(cd "$(dirname "$0")/../support" && pwd)
source "$support/xvfb.sh"
source "$support/weston.sh"
source "$support/config_ini.sh"
dist=$(cd "$1" && pwd)
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"

session_begin
trap 'weston_stop; session_end' EXIT
conf=$XDG_CONFIG_HOME/Tarvelle/QuibMan50.conf
read -r gw gh < <(game_size "$dist/Config.ini")

start() {
  (cd "$dist" && exec ./quibman) >>"$work/app.log" 2>&1 &
  app_pid=$!
}
alive() { kill -0 "$app_pid" 2>/dev/null || fail "the program ended: $(tail -3 "$work/app.log")"; }
wait_exit() {
  for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || { app_pid=""; return 0; }; sleep 0.1; done
  fail "the program did not end"
}

# A Wayland client cannot be found or placed from outside: windows are told apart from weston's
# flat desktop. shot NAME parks the pointer in the bottom-right corner, takes the screenshot and
# paints the pointer out; bbox NAME prints "width height left top" of what is not desktop.
shot() {
  xdotool mousemove 1270 1015 mousemove 1279 1023
  sleep 0.3
  import -window root "$shots/$1.png"
  mogrify -fill "$weston_background" -draw "rectangle 1260,1000 1279,1023" "$shots/$1.png"
}
bbox() {
  convert "$shots/$1.png" -bordercolor "$weston_background" -border 1 -fuzz 1% -trim \
    -format "%w %h %[fx:page.x-1] %[fx:page.y-1]\n" info:
}
# diff_box BEFORE AFTER prints "width height left top" of what changed between two screenshots.
diff_box() {
  convert "$shots/$1.png" "$shots/$2.png" -compose difference -composite -threshold 1% \
    -bordercolor black -border 1 -trim -format "%w %h %[fx:page.x-1] %[fx:page.y-1]\n" info:
}
pixel() { convert "$shots/$1.png" -format "%[hex:p{$2,$3}]" info: | cut -c1-6; }
desktop=$(echo "${weston_background#\#}" | tr a-f A-F)
# wait_shown NAME W H: takes screenshots until what shows is W x H; false after about 10 seconds.
wait_shown() {
  for _ in $(seq 15); do
    shot "$1"
    read -r w h x y < <(bbox "$1")
    [ "$w $h" = "$2 $3" ] && return 0
    sleep 0.2
  done
  return 1
}

# 0. Qt's offscreen platform has no X connection: the program starts there all the same and waits
# at its splash screen.
(cd "$dist" && QT_QPA_PLATFORM=offscreen exec ./quibman) >>"$work/app.log" 2>&1 &
app_pid=$!
sleep 2
alive
kill "$app_pid" && wait "$app_pid" 2>/dev/null || true
app_pid=""

# --- Native Wayland, French keyboard ---
weston_start "$work" fr
start

# 1. The splash screen's title bar offers to maximise it; asked to, it stays alive and returns to
# its size. The maximise button is the middle of the three on the title bar's right; the pointer
# then crosses the sound driver list, which is drawn again.
wait_shown splash 466 453 || fail "no splash screen on weston"
xdotool mousemove $((x + w - 45)) $((y + 15))
sleep 0.3
xdotool mousemove $((x + w - 39)) $((y + 15))
sleep 0.3
xdotool click 1
sleep 0.5
xdotool mousemove $((x + 290)) $((y + 348))
sleep 0.3
xdotool mousemove $((x + 100)) $((y + 200))
sleep 0.5
alive
wait_shown splash_after_maximise 466 453 || fail "the splash screen stayed at $(bbox splash_after_maximise)"
alive

# 2. "(no sound)" and play: the fullscreen layout. The physical 5 key, "(" on a French keyboard,
# switches to game mode: a single 0 in place 8.
xdotool key Down Down Down Return
sleep 1.5
xdotool key parenleft
sleep 0.5
shot game_mode
ox=$(((1280 - gw) / 2)) oy=$(((1024 - gh) / 2))
lit 8 "$shots/game_mode.png" $ox $oy || fail "the key in the 5 place did not switch to game mode"
for p in 1 2 3 4 5 6 7; do lit "$p" "$shots/game_mode.png" $ox $oy && fail "place $p lit in game mode"; done

# 3. F12: the windowed layout, where weston puts it, the desktop showing through the key colour:
# the visible outline is the handheld's, its corners are desktop, and no key colour shows.
check_windowed() {
  wait_shown "$1" $((gw - 4)) $((gh - 4)) || fail "$1: the window shows as $(bbox "$1")"
  for corner in "$x $y" "$((x + w - 1)) $y" "$x $((y + h - 1))" "$((x + w - 1)) $((y + h - 1))"; do
    [ "$(pixel "$1" $corner)" = "$desktop" ] || fail "$1: no desktop at the corner $corner"
  done
  [ "$(convert "$shots/$1.png" -fill black +opaque "#ff00ff" -fill white -opaque "#ff00ff" \
    -format '%[fx:mean]' info:)" = 0 ] || fail "$1: the key colour shows"
}
xdotool key F12
check_windowed windowed

# 4. F12 twice: full screen again, then back to the shaped window at its size.
xdotool key F12
sleep 1
shot fullscreen_again
[ "$(pixel fullscreen_again 2 2)" != "$desktop" ] || fail "F12 did not cover the screen again"
xdotool key F12
check_windowed windowed_again
read -r hx hy < <(echo "$x $y")

# 4b. The pop-up menu opened near the handheld's bottom opens upwards, within the window (weston
# neither flips nor slides it): all of it, "Exit" at its foot, is on the screen.
xdotool mousemove $((hx + gw / 2)) $((hy + gh - 60)) click 3
sleep 0.7
shot menu_near_bottom
read -r uw uh ux uy < <(diff_box windowed_again menu_near_bottom)
[ "$uh" -gt 200 ] && [ $((uy + uh)) -le $((hy + gh)) ] ||
  fail "the menu shows as $uw x $uh at $ux,$uy, past the handheld's bottom at $((hy + gh))"
xdotool key Escape
sleep 0.5
alive

# 4c. The key settings dialog's lowest list ("Mode") opens within the dialog, upwards: weston would
# leave it running down past the dialog, off the screen where the dialog lies low.
xdotool mousemove $((hx + gw / 2)) $((hy + gh / 2)) click 3
sleep 0.7
xdotool key Down Down Down Down Down Down Return
sleep 1
xdotool key Tab Tab Tab
shot key_settings
xdotool key alt+Down
sleep 0.7
shot key_list_open
read -r dw dh dx dy < <(diff_box windowed_again key_settings)
read -r lw lh lx ly < <(diff_box key_settings key_list_open)
[ "$lh" -gt 60 ] && [ "$ly" -ge "$dy" ] && [ $((ly + lh)) -le $((dy + dh)) ] ||
  fail "the list shows as $lw x $lh at $lx,$ly, outside the dialog ($dw x $dh at $dx,$dy)"
xdotool key Escape
sleep 0.3
xdotool key Escape
sleep 0.5
xdotool mousemove $((hx + gw / 2)) $((hy + gh / 2)) click 1
alive

# 5. F4 shows the manual; dragging its page moves it by as much.
xdotool key F4
sleep 1
shot manual
# The manual is what changed; the LCD stands still in game mode.
manual_at() { diff_box windowed_again "$1"; }
read -r mw mh mx my < <(manual_at manual)
[ "$mw $mh" = "340 535" ] || fail "the manual shows as $mw x $mh"
dx=$((mx < 470 ? 300 : -300)) dy=$((my < 245 ? 120 : -120))
fx=$((mx + mw / 2)) fy=$((my + mh / 2))
xdotool mousemove $fx $fy mousedown 1
for i in 1 2 3 4 5 6; do xdotool mousemove $((fx + dx * i / 6)) $((fy + dy * i / 6)); sleep 0.05; done
xdotool mouseup 1
sleep 0.5
shot manual_dragged
read -r _ _ nx ny < <(manual_at manual_dragged)
[ "$nx $ny" = "$((mx + dx)) $((my + dy))" ] ||
  fail "the manual moved from $mx,$my to $nx,$ny, not by $dx,$dy"

# 6. Esc hides the manual. Shown again, it has the keyboard (weston gives it to the handheld's
# transient child even when the handheld is clicked): a click on the handheld's body takes the
# keyboard back, and Esc there ends the program.
xdotool key Escape
sleep 0.5
xdotool mousemove $((hx + gw / 2)) $((hy + gh / 2)) click 1
xdotool key F4
sleep 1
shot manual_again
bx=$((hx + 30)) by=$((hy + gh - 80))
[ "$bx" -ge "$nx" ] && [ "$bx" -lt $((nx + mw)) ] && [ "$by" -ge "$ny" ] && [ "$by" -lt $((ny + mh)) ] &&
  bx=$((hx + gw - 30))
xdotool mousemove $bx $by click 1
sleep 0.3
xdotool key Escape
wait_exit

# 7. The same desktop through XWayland, which ignores the window's shape: the windowed layout,
# placed by the program itself, still shows the desktop at its corner, not black.
(cd "$dist" && DISPLAY=$weston_xdisplay QT_QPA_PLATFORM=xcb exec ./quibman) >>"$work/app.log" 2>&1 &
app_pid=$!
sleep 2
shot xwayland_splash
xdotool key Return
sleep 1.5
shot xwayland_windowed
[ "$(convert "$shots/xwayland_windowed.png" -format "%[fx:p{$(((1280 - gw) / 2 + 1)),$(((1024 - gh) / 2 + 1))}.b > 0.3]" info:)" = 1 ] ||
  fail "no desktop at the windowed handheld's corner through XWayland"
# F12 round trips there: full screen covers the whole screen, not the window's old place; back in
# the windowed layout the window is centred again (not 32 pixels off, nor off the screen) and its
# see-through corners show the desktop, not what the full-screen frame left there.
cx=$(((1280 - gw) / 2)) cy=$(((1024 - gh) / 2))
for trip in 1 2 3; do
  xdotool key F12
  sleep 1
  shot "xwayland_fullscreen_$trip"
  for corner in "2 2" "1250 990"; do
    [ "$(pixel "xwayland_fullscreen_$trip" $corner)" != "$desktop" ] ||
      fail "round trip $trip: full screen leaves the desktop showing at $corner"
  done
  xdotool key F12
  sleep 1.2
  shot "xwayland_round_trip_$trip"
  id=$(DISPLAY=$weston_xdisplay xdotool search --onlyvisible --name Simulator | head -1)
  read -r wx wy < <(DISPLAY=$weston_xdisplay xwininfo -id "$id" |
    awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF } END { print x, y }')
  [ "$wx $wy" = "$cx $cy" ] || fail "round trip $trip left the window at $wx,$wy, not $cx,$cy"
  for corner in "$((cx + 3)) $((cy + 3))" "$((cx + gw - 4)) $((cy + gh - 4))"; do
    [ "$(convert "$shots/xwayland_round_trip_$trip.png" -format "%[fx:p{${corner/ /,}}.b > 0.3]" \
      info: | tr -d '\n')" = 1 ] || fail "round trip $trip: no desktop at the corner $corner"
  done
done
DISPLAY=$weston_xdisplay xdotool key Escape
wait_exit
weston_stop
setxkbmap -layout us

# --- X11 with a window manager ---
# 8. Closing the splash screen through the window manager (Alt+F4) ends the program as Esc does,
# writing nothing.
openbox >"$work/wm.log" 2>&1 &
wm_pid=$!
sleep 1
# check_centred TITLE: the window titled TITLE is centred on the screen frame and all.
check_centred() {
  local id cx cy cw ch fl fr ft fb
  id=$(xdotool search --onlyvisible --name "$1" | head -1)
  read -r cx cy cw ch < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ { x = $NF }
    /Absolute upper-left Y/ { y = $NF } /Width:/ { w = $NF } /Height:/ { h = $NF }
    END { print x, y, w, h }')
  read -r fl fr ft fb < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  [ "$((cx - fl)) $((cy - ft))" = "$(((1280 - cw - fl - fr) / 2)) $(((1024 - ch - ft - fb) / 2))" ] ||
    fail "$1 framed at $((cx - fl)),$((cy - ft)), not centred"
}
before=$(cat "$conf")
start
wait_window "About this game" || fail "no splash screen under openbox"
sleep 0.5
check_centred "About this game"
xdotool key alt+F4
wait_exit
[ "$(cat "$conf")" = "$before" ] || fail "closing the splash screen wrote settings"

# 9. The key settings dialog, at its first opening, is centred frame and all.
sed -i 's/^SplashScreen=.*/SplashScreen=0/' "$conf"
start
wait_window Simulator || fail "no main window under openbox"
sleep 1
xdotool mousemove 640 700 click 3
sleep 0.7
xdotool key Down Down Down Down Down Down Return
wait_window "Key settings" || fail "no key settings dialog"
sleep 1
check_centred "Key settings"
import -window root "$shots/key_settings_openbox.png"
echo "window systems e2e passed; screenshots in $shots"
