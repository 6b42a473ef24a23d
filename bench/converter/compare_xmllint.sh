#!/usr/bin/env bash
# Times serz in both directions against `xmllint --noout` parsing the same
# XML. Usage: bench/converter/compare_xmllint.sh [BUILD_DIR] [MB]
# BUILD_DIR must hold bin/serz and bin/serz_sample (a Release build).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build-conv}
mb=${2:-50}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bin/serz_sample" "$work/sample.bin" "$mb"
"$build/bin/serz" "$work/sample.bin" "xml:$work/sample.xml"
size=$(stat -c %s "$work/sample.xml")
echo "sample: $(stat -c %s "$work/sample.bin") bytes binary, $size bytes XML"

# Best of three wall-clock times, in seconds.
best() {
  local best_t=
  for _ in 1 2 3; do
    local t
    t=$( { /usr/bin/time -f %e "$@" >/dev/null 2>/dev/null; } 2>&1 | tail -1 )
    if [ -z "$best_t" ] || awk "BEGIN{exit !($t < $best_t)}"; then best_t=$t; fi
  done
  echo "$best_t"
}
report() {
  awk -v name="$1" -v t="$2" -v s="$size" 'BEGIN{printf "%-28s %6.2f s  %7.1f MB/s of XML\n", name, t, (t > 0 ? s / 1e6 / t : 0)}'
}
report "serz bin -> xml" "$(best "$build/bin/serz" "$work/sample.bin" "xml:$work/out.xml")"
report "serz xml -> bin" "$(best "$build/bin/serz" "$work/sample.xml" "bin:$work/out.bin")"
report "xmllint --noout" "$(best xmllint --noout "$work/sample.xml")"
