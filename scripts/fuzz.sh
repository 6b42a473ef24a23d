#!/usr/bin/env bash
# Builds the converter's two libFuzzer targets with clang and runs each for a
# bounded time (FUZZ_SECONDS, default 60). Prints the number of executions;
# exits non-zero when a target finds a crash (the input is kept in build-fuzz/).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVANTREL_FUZZ=ON -DVANTREL_GUI=OFF -DVANTREL_TESTS=OFF -DVANTREL_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz_serz_decode fuzz_serz_encode

fixtures=../shared/fixtures/serz
status=0
for direction in decode encode; do
  corpus=build-fuzz/corpus-$direction
  mkdir -p "$corpus"
  cp fuzz/seeds/$direction/* "$corpus"/
  if [ -d "$fixtures" ]; then
    if [ $direction = decode ]; then cp "$fixtures"/*.bin "$corpus"/; else cp "$fixtures"/*.xml "$corpus"/; fi
  fi
  log=build-fuzz/fuzz-$direction.log
  rc=0
  build-fuzz/bin/fuzz_serz_$direction -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=build-fuzz/crash-$direction- \
    "$corpus" >"$log" 2>&1 || rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  if [ $rc -ne 0 ]; then
    echo "fuzz_serz_$direction: FAILED after $runs executions (exit $rc); see $log"
    grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -5 || true
    status=1
  else
    echo "fuzz_serz_$direction: $runs executions in ${seconds}s, no crash"
  fi
done
exit $status
