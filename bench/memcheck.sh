#!/usr/bin/env bash
# The real program under valgrind memcheck for a scripted session of about 30 seconds under a
# private Xvfb: the splash screen, play, game mode, a game steered with the direction keys, both
# layouts, the about box, the manual, the key settings dialog, and Esc, which ends the program
# normally so that the leak check sees everything it left behind.
# Fails when a block is definitely or indirectly lost on a stack that runs through our own
# sources (lcd/ engine/ session/ skin/ sound/ settings/ input/ ui/ shell/); losses wholly inside the system's
# libraries are listed but not counted.
# Usage: bench/memcheck.sh [READY_FOLDER (build/dist)]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/support/xvfb.sh"
dist=$(cd "${1:-$root/build/dist}" && pwd)
# Under valgrind the program runs many times slower: each window gets a minute to show.
slow=60

# A fresh settings store, so the splash screen shows; the first sound entry opens SDL's silent
# dummy output and loads the samples.
session_begin

# One log per process: without a session bus libdbus forks to start one, and those children end
# without exec under valgrind, with leak reports of their own. Full source paths tell our frames.
(cd "$dist" && exec valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \
  --suppressions="$root/bench/memcheck.supp" --num-callers=40 --fullpath-after= \
  --log-file="$work/memcheck.%p.log" ./quibman) >"$work/app.log" 2>&1 &
app_pid=$!
report=$work/memcheck.$app_pid.log

focus() {
  wait_window "$1" "$slow" || fail "no window \"$1\""
  xdotool search --onlyvisible --name "$1" windowfocus --sync
  sleep 1
}
# key [KEY...]: each key pressed and let go, with time for the slowed program to take it.
key() {
  local k
  for k in "$@"; do
    xdotool key "$k"
    sleep 0.5
  done
}
hold() {
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
}

focus "About this game"
key Down Return
focus Simulator
key 5
hold 1 1
sleep 8  # the start tune, then the game tick runs
for k in Left Up Right Down Left Down; do hold "$k" 1.5; done
key F12
focus Simulator
key F1
focus "About the author"
key Escape
focus Simulator
key F4
focus Manual
key Right Right Left Escape
focus Simulator
main=$(xdotool search --onlyvisible --name Simulator | head -1)
eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3
wait_corner_at $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) "$slow" || fail "no popup menu"
key Down Down Down Down Down Down Return
focus "Key settings"
key Escape
focus Simulator
key Escape

# The leak check runs after the program's end; under valgrind that takes a while.
for _ in $(seq $((slow * 10))); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end on Esc"
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
[ -s "$report" ] || fail "no valgrind report"

sed -n 's/^==[0-9]*== \(   *\(definitely\|indirectly\|possibly\) lost:\|   *suppressed:\|ERROR SUMMARY:\)/\1/p' \
  "$report"
# A loss record is ours when a frame of its stack lies in our sources, or in the code moc
# generated from them in a build folder.
ours="$root/(build[^/]*/)?(lcd|engine|session|skin|sound|settings|input|ui|shell)/"
awk -v ours="$ours" -v mine="$work/ours.log" -v theirs="$work/theirs.log" '
  { sub(/^==[0-9]+== ?/, "") }
  / are (definitely|indirectly) lost in loss record / { record = $0 "\n"; open = 1; hit = 0; next }
  !open { next }
  /^$/ { printf "%s\n", record >> (hit ? mine : theirs); open = 0; next }
  { record = record $0 "\n"; if ($0 ~ "\\(" ours) hit = 1 }' "$report"
touch "$work/ours.log" "$work/theirs.log"
others=$(grep -c ' lost in loss record ' "$work/theirs.log" || true)
found=$(grep -c ' lost in loss record ' "$work/ours.log" || true)
echo "other processes' reports (libdbus's forks): $(($(ls "$work"/memcheck.*.log | wc -l) - 1))"
echo "loss records wholly inside system libraries, not suppressed: $others"
echo "loss records on a stack through our code: $found"
[ "$found" -eq 0 ] || { cat "$work/ours.log"; fail "memory lost through our code"; }
echo "memcheck passed"
