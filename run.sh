#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the simulator and starts it from its ready folder,
# where the folders named in Config.ini are found.
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target quibman qm_default_skin
cd build/dist
exec ./quibman
