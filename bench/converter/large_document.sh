#!/usr/bin/env bash
# The converter at the size of a real scenario: a generated document of
# about 500 MB of XML (80 MB binary), both directions through the serz
# program, with wall-clock time and peak memory (resident set) of each.
# Checks that XML -> binary gives back the generated binary byte for byte.
# Usage: bench/converter/large_document.sh [BUILD_DIR] [MB]
# BUILD_DIR must hold bin/serz and bin/serz_sample (a Release build).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
mb=${2:-500}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bin/serz_sample" "$work/sample.bin" "$mb"

# Best of three runs: wall-clock seconds and peak resident kilobytes.
measure() {
  local best_wall= best_rss=
  for _ in 1 2 3; do
    /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>&1
    read -r wall rss <"$work/time.txt"
    if [ -z "$best_wall" ] || awk -v a="$wall" -v b="$best_wall" 'BEGIN{exit !(a < b)}'; then best_wall=$wall; fi
    if [ -z "$best_rss" ] || [ "$rss" -lt "$best_rss" ]; then best_rss=$rss; fi
  done
  echo "$best_wall $best_rss"
}

read -r to_xml_s to_xml_kb < <(measure "$build/bin/serz" "$work/sample.bin" "xml:$work/sample.xml")
read -r to_bin_s to_bin_kb < <(measure "$build/bin/serz" "$work/sample.xml" "bin:$work/back.bin")
cmp "$work/sample.bin" "$work/back.bin"
xml=$(stat -c %s "$work/sample.xml")
bin=$(stat -c %s "$work/sample.bin")
echo "document: $xml bytes XML, $bin bytes binary (identical after the round trip)"
awk -v s="$to_xml_s" -v k="$to_xml_kb" -v x="$xml" \
  'BEGIN{printf "binary -> XML: %.2f s (%.0f MB/s of XML), peak %.0f MB\n", s, x / s / 1e6, k * 1024 / 1e6}'
awk -v s="$to_bin_s" -v k="$to_bin_kb" -v x="$xml" -v b="$bin" \
  'BEGIN{printf "XML -> binary: %.2f s (%.0f MB/s of XML), peak %.0f MB (%.0f MB beyond the binary)\n", s, x / s / 1e6, k * 1024 / 1e6, (k * 1024 - b) / 1e6}'
