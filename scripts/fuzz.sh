#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (the converter's two directions,
# the packed-file reader and the KeyValues text reader of Steam's files) and
# runs each for a bounded time (FUZZ_SECONDS, default 45). Prints the number
# of executions; exits non-zero when a target finds a crash (the input is
# kept in build-fuzz/).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-45}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVANTREL_FUZZ=ON -DVANTREL_GUI=OFF -DVANTREL_TESTS=OFF -DVANTREL_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz_serz_decode fuzz_serz_encode fuzz_archive_reader \
  fuzz_keyvalues_text

fixtures=../shared/fixtures/serz
status=0
# target:seed folder
for run in serz_decode:decode serz_encode:encode archive_reader:archive keyvalues_text:keyvalues; do
  target=${run%%:*}
  seeds=${run#*:}
  corpus=build-fuzz/corpus-$seeds
  mkdir -p "$corpus"
  cp fuzz/seeds/$seeds/* "$corpus"/
  if [ -d "$fixtures" ]; then
    case $seeds in
      decode) cp "$fixtures"/*.bin "$corpus"/ ;;
      encode) cp "$fixtures"/*.xml "$corpus"/ ;;
      # A real SERZ file packed, when the zip tool is there.
      archive) if command -v zip >/dev/null; then
          rm -f "$corpus"/fixtures.zip
          zip -q -j "$corpus"/fixtures.zip "$fixtures"/*.bin
        fi ;;
    esac
  fi
  log=build-fuzz/fuzz-$seeds.log
  rc=0
  build-fuzz/bin/fuzz_$target -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=build-fuzz/crash-$seeds- \
    "$corpus" >"$log" 2>&1 || rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  if [ $rc -ne 0 ]; then
    echo "fuzz_$target: FAILED after $runs executions (exit $rc); see $log"
    grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -5 || true
    status=1
  else
    echo "fuzz_$target: $runs executions in ${seconds}s, no crash"
  fi
done
exit $status
