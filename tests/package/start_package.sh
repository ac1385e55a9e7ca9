#!/usr/bin/env bash
# Starts the unpacked package through its launcher under a private Xvfb, from a directory of no
# importance, and checks that the program finds its files in the package's layout: the splash
# screen's pictures beside the executable, the sounds, the manual and Readme.txt from the data
# folder. Arguments: the unpacked root, a folder for the screenshots left behind.
set -euo pipefail
support=$(cd "$(dirname "$0")/../support" && pwd)
source "$support/xvfb.sh"
source "$support/pictures.sh"
source "$support/config_ini.sh"
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
xdotool key Escape
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
app_pid=""

# An installed user, who may not write the package's Config.ini, edits a copy of their own and
# shows a skin of their own from the per-user skins folder. Root may write anything: the program
# then runs as nobody; anyone else finds the package's Config.ini made read-only.
user=$(mktemp -d)
trap 'chmod u+w "$data/Config.ini"; rm -rf "$user"; session_end' EXIT
chmod 755 "$user"
as_user=()
if [ "$(id -u)" = 0 ]; then
  chown 65534 "$user"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
  chmod a-w "$data/Config.ini"
fi
copy=$user/data/quibman/Config.ini
: >"$work/opened"
chmod 666 "$work/opened"
chmod 755 "$work" "$work/bin"
play_as_user() {
  (cd / && exec "${as_user[@]}" env HOME="$user" XDG_CONFIG_HOME="$user/config" \
    XDG_DATA_HOME="$user/data" XDG_RUNTIME_DIR="$user" PATH="$work/bin:$PATH" \
    "$root/usr/games/quibman") >"$work/app.log" 2>&1 &
  app_pid=$!
  wait_window "About this game" || fail "no splash screen for the user: $(cat "$work/app.log")"
  sleep 0.5
  xdotool key Down Down Down Return
  wait_window Simulator || fail "no main window for the user: $(cat "$work/app.log")"
  sleep 1.5
}
# body_share SHOT PICTURE: how unlike PICTURE the handheld's body shows, centred on the screen.
body_share() {
  local w h l t gw gh
  read -r w h l t < <(skin_rect 1 "$data/Config.ini")
  read -r gw gh < <(game_size "$data/Config.ini")
  unlike "$1" "$2" "$w" "$h" $(((1280 - gw) / 2 + l)) $(((1024 - gh) / 2 + t))
}
body=$data/Graphics/Skin/$(awk -F= '/^\[Image1\]/ { s = 1 } s && /^Filename=/ { print $2; exit }' \
  "$data/Config.ini" | tr -d '\r')
play_as_user
# "Edit configuration file", the pop-up menu's fifth entry.
xdotool mousemove 640 900 click 3
sleep 0.7
xdotool key Down Down Down Down Down Return
for _ in $(seq 30); do [ -s "$work/opened" ] && break; sleep 0.1; done
[ "$(cat "$work/opened")" = "file://$copy" ] || fail "Edit configuration file opened '$(cat "$work/opened")'"
grep -q "^SkinDir=$data/Graphics/Skin/\$" "$copy" || fail "the copy's skin folder is not the installed one"
[ -d "$user/data/quibman/Skins" ] || fail "no skins folder beside the copy"

# A skin of one's own: the installed one with its body in other colours, named in the copy.
cp -r "$data/Graphics/Skin" "$user/data/quibman/Skins/mine"
mine=$user/data/quibman/Skins/mine/$(basename "$body")
convert "$body" -channel RGB -negate "$mine"
rm -f "${mine%.*}"@*
sed -i "s|^SkinDir=.*|SkinDir=$user/data/quibman/Skins/mine/|" "$copy"
sed -i "1i ; edited" "$copy"
chown -R --reference="$user" "$user/data"
xdotool key F12 F12
sleep 2
import -window root "$shots/package_own_skin.png"
share=$(body_share package_own_skin "$mine")
below "$share" 0.05 || fail "the user's own skin does not show ($share unlike it)"

# Removing the copy returns to the installed configuration.
rm "$copy"
xdotool key F12 F12
sleep 2
import -window root "$shots/package_installed_again.png"
share=$(body_share package_installed_again "$body")
below "$share" 0.05 || fail "the installed skin does not show again ($share unlike it)"
echo "the package starts; screenshots in $shots"
