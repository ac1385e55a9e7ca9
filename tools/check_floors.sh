#!/usr/bin/env bash
# Fails when a source folder includes a header of a folder above it. The floors, bottom first;
# ui/qt/ is a floor of its own beneath the windows of ui/.
set -euo pipefail
cd "$(dirname "$0")/.."
floors=(lcd engine session skin sound settings input ui/qt ui shell)

floor_of() {
  local path=$1 best=-1 i
  for i in "${!floors[@]}"; do
    [[ $path == "${floors[$i]}"/* ]] && best=$i
  done
  echo "$best"
}

status=0
for i in "${!floors[@]}"; do
  dir=${floors[$i]}
  [ -d "$dir" ] || continue
  while IFS= read -r file; do
    own=$(floor_of "$file")
    [ "$own" -eq "$i" ] || continue
    while IFS= read -r included; do
      theirs=$(floor_of "$included")
      if [ "$theirs" -gt "$own" ]; then
        echo "$file includes $included, a floor above it"
        status=1
      fi
    done < <(sed -n -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file")
  done < <(find "$dir" -name '*.h' -o -name '*.cpp')
done
# The pure floors never reach for Qt or SDL.
if grep -rn -E '#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]|SDL)' lcd engine session skin; then
  echo "a pure floor includes Qt or SDL"
  status=1
fi
exit $status
