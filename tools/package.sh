#!/usr/bin/env bash
# Builds what the Debian package holds and writes build/quibman_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target qm_package_files
cd build
cpack
