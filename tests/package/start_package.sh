#!/usr/bin/env bash
# Starts the unpacked package through its launcher under a private Xvfb, from a directory of no
# importance, and checks that the program finds its files in the package's layout: the splash
# screen's pictures beside the executable, the sounds, the manual and Readme.txt from the data
# folder. Arguments: the unpacked root, a folder for the screenshots left behind.
set -euo pipefail
support=$(cd "$(dirname "$0")/../support" && pwd)
source "$support/xvfb.sh"
source "$support/pictures.sh"
root=$(cd "$1" && pwd -P)
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"
data=$root/usr/share/games/quibman

session_begin
# Documents go to xdg-open: this one only notes what it was handed.
mkdir "$work/bin"
printf '#!/bin/sh\necho "$*" >>"%s"\n' "$work/opened" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
(cd / && PATH=$work/bin:$PATH exec "$root/usr/games/quibman") >"$work/app.log" 2>&1 &
app_pid=$!

# place TITLE: "width height x y" of the window titled TITLE.
place() {
  xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --name "$1" | head -1)" |
    awk -F= '{ v[$1] = $2 } END { print v["WIDTH"], v["HEIGHT"], v["X"], v["Y"] }'
}
# shot NAME TITLE: the window titled TITLE, as the screen shows it, into $shots/NAME.png.
shot() {
  local w h x y
  read -r w h x y < <(place "$2")
  import -window root -crop "${w}x$h+$x+$y" "$shots/$1.png"
}
# unlike SHOT PICTURE W H X Y: the share of the W x H area at X,Y of a shot unlike PICTURE.
unlike() {
  convert "$shots/$1.png" +repage -crop "$3x$4+$5+$6" +repage "$work/area.png"
  unlike_share "$work/area.png" "$2"
}

wait_window "About this game" || fail "no splash screen: $(cat "$work/app.log")"
sleep 0.5
shot package_splash "About this game"
share=$(unlike package_splash "$data/Graphics/Splash/box.jpg" 460 160 0 56)
below "$share" 0.05 || fail "the splash screen's box picture is missing ($share unlike it)"

# The first driver loads the samples: a missing Beep.wav would stop the program with an error box.
xdotool key Down Return
wait_window Simulator || fail "no main window: $(cat "$work/app.log")"
sleep 1
kill -0 "$app_pid" 2>/dev/null || fail "the program ended: $(cat "$work/app.log")"
# At the first start the device fills the screen; an error box, which has the same title, is small.
[ "$(place Simulator)" = "1280 1024 0 0" ] || fail "an error box shows instead of the device"
[ "$(xdotool search --onlyvisible --name Simulator | wc -l)" -eq 1 ] || fail "an error box shows"

xdotool key F2
for _ in $(seq 30); do [ -s "$work/opened" ] && break; sleep 0.1; done
opened=$(cat "$work/opened" 2>/dev/null || true)
[ "$opened" = "file://$data/Readme.txt" ] && [ -f "$data/Readme.txt" ] ||
  fail "F2 handed on '$opened'"

xdotool key F4
wait_window Manual || fail "no manual"
sleep 0.5
shot package_manual Manual
share=$(unlike package_manual "$data/Graphics/Manual/1.bmp" 340 535 0 0)
below "$share" 0.05 || fail "the manual does not show its first page ($share unlike it)"
echo "the package starts; screenshots in $shots"
