#!/usr/bin/env bash
# Keys held down under the X server's own key repeat, as on a desktop, with a core kept busy: the
# program must see presses that repeat and a single release, when the key really goes up.
# Argument: the ready folder.
set -euo pipefail
support=$(cd "$(dirname "$0")/../support" && pwd)
source "$support/program.sh"
source "$support/pictures.sh"
dist=$(cd "$1" && pwd)

xvfb_options="r -ardelay 660 -arinterval 40"
session_begin
busy_pid=""
trap '[ -n "$busy_pid" ] && kill "$busy_pid" 2>/dev/null; session_end' EXIT
now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }
# within MS COMMAND...: true once COMMAND succeeds, false once MS milliseconds have passed first.
within() {
  local end=$(($(now_ms) + $1))
  shift
  until "$@"; do [ "$(now_ms)" -lt "$end" ] || return 1; done
}

start_playing
yes >/dev/null &
busy_pid=$!

# The high score as AMA shows it: the letter A, place 2 blank, six digits. From 3.5 s after a game
# starts, place 2 shows the stage number's dash and then the lives.
panel() { import -window root "$work/panel.png"; }
hiscore_shown() {
  panel && lit 1 "$work/panel.png" $ox $oy && ! lit 2 "$work/panel.png" $ox $oy &&
    lit 3 "$work/panel.png" $ox $oy
}
game_shown() { panel && lit 2 "$work/panel.png" $ox $oy; }

# 1. AMA held for ten seconds in game mode: the high score until the release, the game only after.
xdotool key 5
sleep 0.5
held=$(now_ms)
xdotool keydown 1
within 10000 hiscore_shown || fail "no high score when AMA went down"
while [ "$(now_ms)" -lt $((held + 10000)) ]; do
  hiscore_shown || fail "the high score went while AMA was held"
done
released=$(now_ms)
xdotool keyup 1
within 20000 game_shown || fail "no game after the release of AMA"
after=$(($(now_ms) - released))
[ "$after" -ge 3000 ] || fail "the game showed ${after} ms after the release of AMA"

# 2. Right held for four seconds in the manual: no page turn while held, one after the release.
xdotool key F4
wait_window Manual || fail "no manual"
manual=$(xdotool search --onlyvisible --name '^Manual$' | head -1)
# page_shown N: true when the manual shows page N, its three small buttons aside.
page_shown() {
  local share
  import -window "$manual" "$work/page.png" &&
    share=$(unlike_share "$work/page.png" "$dist/Graphics/Manual/$1.bmp") && below "$share" 0.01
}
within 10000 page_shown 1 || fail "the manual did not open on page 1"
xdotool keydown Right
sleep 4
page_shown 1 || fail "the page turned while Right was held"
xdotool keyup Right
within 10000 page_shown 2 || fail "the release of Right did not turn the page"
sleep 0.5
page_shown 2 || fail "the release of Right turned more than one page"
echo "key repeat e2e passed"
