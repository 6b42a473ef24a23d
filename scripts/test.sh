#!/usr/bin/env bash
# Sets up a Debian 12 machine and runs every test: the test suite, the same
# suite built with the address and undefined-behaviour sanitizers, a short
# fuzzing run of the converter, and the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== build and test"
scripts/build.sh
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== sanitizer build (address, undefined) and test"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTREL_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
  >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-asan --output-on-failure -j "$jobs"

if [ -x scripts/fuzz.sh ]; then
  echo "== fuzzing"
  scripts/fuzz.sh
fi

if [ -x scripts/windows-tests.sh ]; then
  echo "== Windows build under Wine"
  scripts/windows-tests.sh
fi
