#!/bin/sh
# Starts the simulator from its data folder, since the folders that Config.ini names are taken
# from the current directory. Both folders are found from this script's own place, so a copy of
# the package unpacked anywhere starts as an installed one does.
set -e
games=$(dirname "$(readlink -f "$0")")
cd "$games/../share/games/quibman"
exec "$games/../lib/games/quibman/quibman" "$@"
