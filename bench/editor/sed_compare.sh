#!/bin/sh
# Times sed doing the Replace All of the editor benchmark (every
# "sandstone", any case, becomes "Granite") on the same generated 10 MB
# document, for comparison with BM_ReplaceAllIn10Mb.
# Usage: bench/editor/sed_compare.sh [build folder]   (default: build)
set -eu
build=${1:-build}
bench="$build/bin/editor_bench"
[ -x "$bench" ] || { echo "build the target editor_bench in $build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-sample="$work/in.xml"
echo "input: $(wc -c < "$work/in.xml") bytes, $(grep -oi sandstone "$work/in.xml" | wc -l) occurrences"
for run in 1 2 3; do
  start=$(date +%s.%N)
  sed 's/sandstone/Granite/gI' "$work/in.xml" > "$work/out.xml"
  end=$(date +%s.%N)
  echo "sed run $run: $(echo "$end - $start" | bc) s"
done
echo "left after sed: $(grep -ci sandstone "$work/out.xml" || true) lines with the word"
