#!/usr/bin/env bash
# Builds the Debian package from the build folder's install rules and unpacks it, as dpkg would
# install it, into a root of its own. Arguments: cpack, the build's CPackConfig.cmake, a folder
# for the package and that root.
set -euo pipefail
cpack=$1 config=$2 out=$3
rm -rf "$out"
mkdir -p "$out"
"$cpack" --config "$config" -B "$out"
debs=("$out"/quibman_*_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single package in $out" >&2; exit 1; }
dpkg-deb -x "${debs[0]}" "$out/root"
echo "built ${debs[0]}"
