#!/usr/bin/env bash
# Every real texture file in FIXTURES goes through serz and texture2dds, and
# ImageMagick must decode the .dds at the width and height the texture's XML
# gives.
# Usage: real_textures_decode.sh PATH/TO/serz PATH/TO/texture2dds FIXTURES
# Exit 77 (skipped) when ImageMagick or the fixtures are missing, except
# under CI=true.
set -euo pipefail
serz=$(realpath "$1")
texture2dds=$(realpath "$2")
fixtures=$3

skip() {
  echo "$1"
  [ "${CI:-}" = true ] && exit 1
  exit 77
}
command -v identify >/dev/null || skip "identify is not installed (Debian: imagemagick)"
shopt -s nullglob
textures=("$fixtures"/*.TgPcDx)
[ ${#textures[@]} -gt 0 ] || skip "no .TgPcDx files in $fixtures"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The element text of the first start tag named $2 in file $1.
first_value() {
  grep -m1 -o "<$2[ >][^<]*" "$1" | sed 's/.*>//'
}

status=0
for texture in "${textures[@]}"; do
  name=$(basename "$texture")
  if ! "$serz" "$texture" "xml:$work/$name.xml" 2>"$work/err"; then
    echo "$name: serz refused it: $(cat "$work/err")"
    status=1
    continue
  fi
  if ! "$texture2dds" "$work/$name.xml" "$work/$name.dds" 2>"$work/err"; then
    echo "$name: texture2dds refused it: $(cat "$work/err")"
    status=1
    continue
  fi
  expected="$(first_value "$work/$name.xml" Width)x$(first_value "$work/$name.xml" Height)"
  fourcc=$(dd if="$work/$name.dds" bs=1 skip=84 count=4 2>/dev/null)
  decoded=$(identify -format '%wx%h' "$work/$name.dds" 2>&1 || true)
  if [ "$decoded" != "$expected" ]; then
    echo "$name ($fourcc): ImageMagick gives '$decoded', the texture is $expected"
    status=1
  else
    echo "$name ($fourcc): decodes at $decoded"
  fi
done
exit $status
