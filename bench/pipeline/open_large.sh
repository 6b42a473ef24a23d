#!/usr/bin/env bash
# Open .bin at the size of a real scenario: a generated .bin whose XML is
# about MB megabytes (500 unless given), opened as the editor opens it (the
# converter writes the working XML, the editor loads it and paints), with
# the time, the peak memory of the editor and of the converter, and the
# whole process's time and peak.
# Usage: bench/pipeline/open_large.sh [BUILD_DIR] [MB]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
mb=${2:-500}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/serz_sample" "$work/sample.bin" "$mb"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for _ in 1 2 3; do
  /usr/bin/time -f "whole process: %e s, peak %M KB" "$build/bin/open_bin_once" "$work/sample.bin" 2>&1 |
    grep -E "^opened|^whole"
done
