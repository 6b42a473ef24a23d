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

# Best of three runs: wall-clock seconds and CPU seconds (user + system).
# CPU time is the steadier figure on a machine shared with other work.
best() {
  local best_wall= best_cpu=
  for _ in 1 2 3; do
    /usr/bin/time -f "%e %U %S" -o "$work/time.txt" "$@" >/dev/null 2>&1
    read -r wall user sys <"$work/time.txt"
    local cpu
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN{print u + s}')
    if [ -z "$best_wall" ] || awk -v a="$wall" -v b="$best_wall" 'BEGIN{exit !(a < b)}'; then best_wall=$wall; fi
    if [ -z "$best_cpu" ] || awk -v a="$cpu" -v b="$best_cpu" 'BEGIN{exit !(a < b)}'; then best_cpu=$cpu; fi
  done
  echo "$best_wall $best_cpu"
}
report() {
  read -r wall cpu <<<"$2"
  awk -v name="$1" -v w="$wall" -v c="$cpu" -v s="$size" 'BEGIN{
    printf "%-18s wall %6.2f s (%7.1f MB/s)   cpu %6.2f s (%7.1f MB/s of XML)\n",
      name, w, (w > 0 ? s / 1e6 / w : 0), c, (c > 0 ? s / 1e6 / c : 0)}'
}
report "serz bin -> xml" "$(best "$build/bin/serz" "$work/sample.bin" "xml:$work/out.xml")"
report "serz xml -> bin" "$(best "$build/bin/serz" "$work/sample.xml" "bin:$work/out.bin")"
report "xmllint --noout" "$(best xmllint --noout "$work/sample.xml")"
