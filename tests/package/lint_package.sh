#!/usr/bin/env bash
# Debian's own checks of the package that build_package.sh wrote: lintian, the menu entry and the
# AppStream metadata; and the scalable icon draws as its PNG of the same size does.
set -euo pipefail
source "$(dirname "$0")/../support/pictures.sh"
out=$1
root=$out/root
fail() { echo "FAIL: $*" >&2; exit 1; }

lintian --fail-on error,warning "$out"/quibman_*.deb || fail "lintian reports errors or warnings"
desktop-file-validate "$root/usr/share/applications/quibman.desktop" || fail "the menu entry"
metainfo=("$root"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "${metainfo[@]}" || fail "the AppStream metadata"
# The tree as a whole: the metadata file named after its id, its menu entry present.
appstreamcli validate-tree --no-net "$root" || fail "the AppStream metadata in the package's tree"

icons=$root/usr/share/icons/hicolor
drawn=$(mktemp --suffix=.png)
trap 'rm -f "$drawn"' EXIT
rsvg-convert -w 256 -h 256 "$icons/scalable/apps/quibman.svg" -o "$drawn"
share=$(unlike_share "$drawn" "$icons/256x256/apps/quibman.png")
below "$share" 0.02 || fail "the SVG icon differs from the PNG ($share of its pixels)"
echo "package checks passed"
