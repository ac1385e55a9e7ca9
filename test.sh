#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs every test: the release build, the
# same suite under AddressSanitizer and UndefinedBehaviorSanitizer, and the fuzz targets over their
# corpora.
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_SANITIZE=ON
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

# The fuzz targets, built with clang's libFuzzer, run over their generated corpora.
cmake -S . -B build-fuzz -G Ninja -DQM_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build build-fuzz -j "$jobs"
ctest --test-dir build-fuzz --output-on-failure -j "$jobs"
