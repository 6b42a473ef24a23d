#!/usr/bin/env bash
# Independent check that texture2dds writes a real DDS file: NVIDIA's
# nvcompress makes a DXT1, a DXT3 and a DXT5 texture from a picture with
# alpha, its data block goes into a texture XML with the Format value serz
# writes for it, texture2dds turns that into a .dds, and ImageMagick must
# decode both files to equal pixels.
# Usage: dds_matches_nvcompress.sh PATH/TO/texture2dds
# Exit 77 (skipped) when the tools are missing, except under CI=true.
set -euo pipefail
texture2dds=$(realpath "$1")

for tool in nvcompress convert compare; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed (Debian: libnvtt-bin, imagemagick)"
    [ "${CI:-}" = true ] && exit 1
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# 64 x 32 with transparent, half-transparent and opaque areas.
convert -size 64x32 xc:none \
  -fill 'rgba(255,0,0,0.5)' -draw 'circle 32,16 32,4' \
  -fill 'rgba(0,200,40,1)' -draw 'rectangle 0,0 12,12' \
  -fill 'rgba(20,30,240,0.25)' -draw 'rectangle 40,20 63,31' pic.png

# The data block as serz writes it: upper-case 16-digit words, four to a
# line, CR LF line ends.
blob_hex() {
  tail -c +129 "$1" | od -An -v -tx1 | tr -d ' \n' | tr a-f A-F | fold -w 64 |
    sed -e 's/.\{16\}/& /g' -e 's/ $//' -e 's/$/\r/'
}

texture_xml() {  # SOURCE.dds FORMAT
  local size
  size=$(($(stat -c %s "$1") - 128))
  printf '<?xml version="1.0" encoding="utf-8"?>\r\n<cRecordSet>\r\n'
  printf '\t<Format d:type="cDeltaString">%s</Format>\r\n' "$2"
  printf '\t<Width d:type="sUInt16">64</Width>\r\n\t<Height d:type="sUInt16">32</Height>\r\n'
  printf '\t<Data>\r\n<d:blob d:size="%d">\r\n' "$size"
  blob_hex "$1"
  printf '</d:blob>\r\n\t</Data>\r\n</cRecordSet>\r\n'
}

status=0
for case in "bc1 HC_IMAGE_FORMAT_COMPRESSED DXT1" \
  "bc2 HC_IMAGE_FORMAT_COMPRESSED_EXPL_ALPHA DXT3" \
  "bc3 HC_IMAGE_FORMAT_COMPRESSED_INTERP_ALPHA DXT5"; do
  read -r option format fourcc <<<"$case"
  nvcompress "-$option" -nomips pic.png "nv-$option.dds" >/dev/null
  texture_xml "nv-$option.dds" "$format" >"$option.xml"
  "$texture2dds" "$option.xml" "ours-$option.dds"

  for file in "nv-$option.dds" "ours-$option.dds"; do
    file_fourcc=$(dd if="$file" bs=1 skip=84 count=4 2>/dev/null)
    if [ "$file_fourcc" != "$fourcc" ]; then
      echo "$option: the FourCC of $file is '$file_fourcc', expected $fourcc"
      status=1
    fi
  done
  # compare prints the count of differing pixels on standard error.
  differing=$(compare -metric AE "nv-$option.dds" "ours-$option.dds" null: 2>&1 || true)
  if [ "$differing" != "0" ]; then
    echo "$option: ImageMagick decodes the files differently: $differing"
    status=1
  else
    echo "$option ($fourcc): pixels equal"
  fi
done
exit $status
