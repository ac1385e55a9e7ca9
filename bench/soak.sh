#!/usr/bin/env bash
# Soak of the real program: for a while it gets random key presses, clicks and menu commands under
# a private Xvfb, and its resident memory is sampled from /proc. Fails when the program dies or
# grows by 2 MB or more after its first minute. Then kills a settings writer 1000 times.
# Usage: bench/soak.sh [SECONDS (600)] [READY_FOLDER (build/dist)]
# QM_SOAK_SEED repeats the input of an earlier run; QM_E2E_WM=openbox adds a window manager.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/support/xvfb.sh"
source "$root/tests/support/config_ini.sh"
duration=${1:-600}
dist=$(cd "${2:-$root/build/dist}" && pwd)
seed=${QM_SOAK_SEED:-$$}
RANDOM=$seed
sample_every=5
limit_kb=2048

session_begin "${QM_E2E_WM:-}"

# Settings that skip the splash screen: its play action runs at once with the first sound entry,
# which SDL_AUDIODRIVER turns into the silent dummy output.
mkdir -p "$XDG_CONFIG_HOME/Tarvelle"
printf '[General]\nSoundMode=0\nSplashScreen=0\n' >"$XDG_CONFIG_HOME/Tarvelle/QuibMan50.conf"

# F2, F3 and "Edit configuration file" hand a file to xdg-open: a stub takes it and only notes it,
# so the soak never starts another program. Without a desktop named, Qt asks xdg-open.
mkdir "$work/bin"
opened=$work/opened.log
printf '#!/bin/sh\necho "$*" >>"%s"\n' "$opened" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
touch "$opened" "$work/steps.log"

(cd "$dist" && exec env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION \
  -u GNOME_DESKTOP_SESSION_ID PATH="$work/bin:$PATH" ./quibman) >"$work/app.log" 2>&1 &
app_pid=$!
wait_window Simulator || fail "no main window"
main=$(xdotool search --onlyvisible --name Simulator | head -1)
read -r game_w game_h < <(game_size "$dist/Config.ini")
start=$SECONDS

alive() { kill -0 "$app_pid" 2>/dev/null; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$app_pid/status"; }

# Keys go to the window with the input focus; without a window manager nobody hands it back to
# the main window when a dialog closes.
focus_main() { xdotool windowfocus --sync "$main"; }
# focus_dialog TITLE: waits for the dialog and gives it the keyboard; false when it does not show.
focus_dialog() {
  wait_window "$1" || return 1
  xdotool search --onlyvisible --name "$1" windowfocus --sync
}
pause() { sleep "0.$((RANDOM % 4))$((RANDOM % 10))"; }
# pick NAME CHOICE...: sets NAME to one of the choices (here, not in a subshell, so that the seed
# gives the same run again).
pick() {
  local -n chosen=$1
  shift
  shift $((RANDOM % $#))
  chosen=$1
}

# Screen coordinates of the centre of the picture box of section [ImageN]: the handheld lies at
# the window's corner in the windowed layout and centred on the screen in the fullscreen one.
centre_of() {
  local x y w h left top
  eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  read -r w h left top < <(skin_rect "$1" "$dist/Config.ini")
  if [ "$WIDTH" -ge 1280 ]; then
    x=$((X + (WIDTH - game_w) / 2)) y=$((Y + (HEIGHT - game_h) / 2))
  else
    x=$X y=$Y
  fi
  echo "$((x + left + w / 2)) $((y + top + h / 2))"
}
fullscreen() {
  eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^WIDTH=')"
  [ "$WIDTH" -ge 1280 ]
}

# The popup menu holds the keyboard once it shows; a key sent before would reach the main window,
# where Esc ends the program.
open_popup() {
  local at
  at=$(centre_of 1)
  xdotool mousemove ${at% *} ${at#* } click 3
  wait_corner_at ${at% *} ${at#* }
}

# The device: AMA, PRO, TIME, MODE and the four directions by key, and their pictures (with SET
# and HALT) clicked, held, or let go somewhere else.
device_key() {
  local key
  pick key 1 2 3 5 Up Down Left Right Up Down Left Right
  xdotool keydown "$key"
  pause
  xdotool keyup "$key"
}
device_click() {
  local button at
  pick button 4 6 8 10 11 12 14 16 18 20 14 16 18 20
  at=$(centre_of "$button")
  xdotool mousemove ${at% *} ${at#* } mousedown 1
  pause
  if [ $((RANDOM % 4)) -eq 0 ]; then
    xdotool mousemove_relative -- $((RANDOM % 201 - 100)) $((RANDOM % 201 - 100))
    # SET and HALT drag the windowed layout: back to the start, so that the window stays put.
    [ "$button" -lt 11 ] || [ "$button" -gt 12 ] || xdotool mousemove ${at% *} ${at#* }
  fi
  xdotool mouseup 1
}
about_box() {
  xdotool key F1
  focus_dialog "About the author" || return 1
  pause
  xdotool key Escape
}
manual() {
  xdotool key F4
  focus_dialog Manual || return 1
  local page
  for _ in $(seq $((RANDOM % 6))); do
    pick page Left Right Right
    xdotool key "$page"
  done
  xdotool key Escape
}
# Keys dialog from the popup menu's sixth entry; it goes either by cancel or by accept unchanged.
keys_dialog() {
  open_popup || return 1
  xdotool key Down Down Down Down Down Down Return
  focus_dialog "Key settings" || return 1
  local way
  pick way Escape Return
  pause
  xdotool key "$way"
}
popup_closed() {
  open_popup || return 1
  pause
  xdotool key Escape
}
documents() {
  local key
  pick key F2 F3
  xdotool key "$key"
}
layout() { xdotool key F12; sleep 0.5; }
# The fullscreen layout's three-bar button in the window's corner, opened and closed again.
game_menu() {
  fullscreen || return 0
  eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(X|Y)=')"
  xdotool mousemove $((X + 18)) $((Y + 16)) click 1
  pause
  xdotool click 1
}

# One random step, its name kept in step; false when something did not show or answer.
run_one() {
  local roll
  printf -v roll %02d $((RANDOM % 100))
  case $roll in
    [0-4][0-9]) step=device_key ;;
    [5-7][0-9]) step=device_click ;;
    8[0-3]) step=about_box ;;
    8[4-7]) step=manual ;;
    8[8-9]) step=keys_dialog ;;
    9[0-2]) step=popup_closed ;;
    9[3-4]) step=documents ;;
    9[5-7]) step=game_menu ;;
    *) step=layout ;;
  esac
  "$step" && focus_main
}

# The two samples compared are taken in the same state, the fullscreen layout with no dialog open
# after two quiet seconds: in between, the resident size swings by several MB with the layout.
settled_rss() {
  fullscreen || layout
  sleep 2
  rss_kb
}
samples=$work/rss.log
sample() { echo "$((SECONDS - start)) $1" >>"$samples"; }

echo "soak: ${duration}s, seed $seed, pid $app_pid"
sample "$(rss_kb)"
next_sample=$sample_every
first=""
while [ $((SECONDS - start)) -lt "$duration" ]; do
  if [ -z "$first" ] && [ $((SECONDS - start)) -ge 60 ]; then
    rss=$(settled_rss) || break
    sample "$rss"
    first=$(tail -1 "$samples")
    next_sample=$((SECONDS - start + sample_every))
  elif [ $((SECONDS - start)) -ge "$next_sample" ]; then
    rss=$(rss_kb) || break
    sample "$rss"
    next_sample=$((next_sample + sample_every))
  fi
  if run_one; then
    echo "$step" >>"$work/steps.log"
  else
    alive || break
    fail "the input step \"$step\" went wrong"
  fi
done
crashed=yes
if alive && rss=$(settled_rss); then
  sample "$rss"
  crashed=no
fi

awk '{ printf "%s%ss %d kB", (NR == 1 ? "RSS samples: " : NR % 8 == 1 ? ",\n  " : ", "), $1, $2 }
     END { print "" }' "$samples"
echo "steps: $(sort "$work/steps.log" | uniq -c | awk '{ printf "%s%s %d", (NR > 1 ? ", " : ""), $2, $1 }')"
echo "documents handed to xdg-open: $(wc -l <"$opened")"
echo "crashed: $crashed"
if [ "$crashed" = yes ]; then
  status=0
  wait "$app_pid" || status=$?
  app_pid=""
  fail "the program died (exit status $status)"
fi
[ -n "$first" ] || fail "the run ended before its first minute"
read -r t1 rss1 <<<"$first"
read -r t_end rss_end < <(tail -1 "$samples")
growth=$((rss_end - rss1))
echo "RSS at ${t1}s: $rss1 kB, at the end (${t_end}s): $rss_end kB, growth since: $growth kB"

# Esc on the main window is the menu's Exit: the program must end by itself.
focus_main
xdotool key Escape
for _ in $(seq 100); do alive || break; sleep 0.1; done
alive && fail "the program did not end on Esc"
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
[ "$growth" -lt "$limit_kb" ] || fail "grew by $growth kB after the first minute"

# A settings writer killed at 1000 random moments of its writes must leave a whole file each time
# (the test suite kills it 40 times).
store_test=$dist/../tests/settings/settings_store_test
[ -x "$store_test" ] || fail "no $store_test: build the tests first"
QM_KILL_ROUNDS=1000 "$store_test" --gtest_filter='*KilledAtAnyMoment*' >"$work/kills.log" 2>&1 ||
  { cat "$work/kills.log"; fail "a killed settings writer left a damaged file"; }
echo "settings writer killed 1000 times: every file whole"
echo "soak passed"
