# Sourced by the scripts that drive the real program: where the shipped Config.ini puts things.

# skin_rect N CONFIG_INI: "width height left top" of the picture box of section [ImageN], in the
# handheld's own coordinates.
skin_rect() {
  awk -v want="Image$1" -F= '
    /^\[/ { sec = $0; gsub(/[][\r]/, "", sec) }
    sec == want && $1 ~ /^(Left|Top|Width|Height)$/ { v[$1] = $2 + 0 }
    END { print v["Width"], v["Height"], v["Left"], v["Top"] }' "$2"
}

# game_size CONFIG_INI: "width height" of the handheld.
game_size() {
  awk -F= '/^(GameWidth|GameHeight)=/ { v[$1] = $2 + 0 } END { print v["GameWidth"], v["GameHeight"] }' "$1"
}

# lit PLACE SHOT LEFT TOP: true when digit place PLACE (from $dist/Config.ini) of the handheld
# whose top-left corner is at LEFT,TOP in the screenshot SHOT shows lit LCD ink.
lit() {
  local w h l t
  read -r w h l t < <(skin_rect $((20 + $1)) "$dist/Config.ini")
  awk -v v="$(convert "$2" -crop "${w}x${h}+$((l + $3))+$((t + $4))" -colorspace Gray \
    -threshold 25% -negate -format '%[fx:mean]' info:)" 'BEGIN { exit !(v > 0.01) }'
}
