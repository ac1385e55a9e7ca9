# Sourced by the scripts that compare pictures.

# unlike_share PICTURE REFERENCE: the share of PICTURE's pixels that differ from REFERENCE's by
# more than a little; fails when either cannot be read or their sizes differ.
unlike_share() {
  local count status=0 size
  count=$(compare -metric AE -fuzz 12% "$1" "$2" null: 2>&1) || status=$?
  if [ "$status" -gt 1 ]; then
    echo "FAIL: cannot compare $1 with $2: $count" >&2
    return 1
  fi
  size=$(identify -format '%w %h' "$1")
  awk -v count="$count" -v size="$size" 'BEGIN { split(size, s, " "); print count / (s[1] * s[2]) }'
}

# below VALUE LIMIT: true when VALUE is less than LIMIT.
below() { awk -v v="$1" -v limit="$2" 'BEGIN { exit !(v < limit) }'; }
