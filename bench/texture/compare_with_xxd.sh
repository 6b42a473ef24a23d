#!/usr/bin/env bash
# The same 4096 x 4096 DXT3 hex decoded by xxd -r -p and by texture2dds,
# whole command each (reading the file and writing the output included).
# Usage: compare_with_xxd.sh BUILD_DIR   (a Release build is meaningful)
set -euo pipefail
bin=$(realpath "$1")/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin/texture_bench" --write-sample "$work"
ls -l "$work/texture.xml" "$work/data.hex" | awk '{print $5, $9}'

best() {  # best of five wall-clock runs
  local best=0 start t
  for _ in 1 2 3 4 5; do
    start=${EPOCHREALTIME/./}
    "$@"
    t=$((${EPOCHREALTIME/./} - start))
    if ((best == 0 || t < best)); then best=$t; fi
  done
  printf '%d.%03d s' $((best / 1000000)) $((best / 1000 % 1000))
}

echo "xxd -r -p data.hex:                    $(best sh -c "xxd -r -p '$work/data.hex' > '$work/xxd.bin'")"
echo "texture2dds texture.xml texture.dds:   $(best "$bin/texture2dds" "$work/texture.xml" "$work/texture.dds")"
if cmp -s <(tail -c +129 "$work/texture.dds") "$work/xxd.bin"; then
  echo "data blocks identical"
else
  echo "data blocks DIFFER"
  exit 1
fi
