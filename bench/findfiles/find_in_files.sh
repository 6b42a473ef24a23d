#!/usr/bin/env bash
# Times Find in Files on a generated route against the manual way.
#
#   bench/findfiles/find_in_files.sh [BUILD] [FILES]
#
# BUILD is the build folder (build), FILES the route's size (2000 files of
# about 300 KB). serzfind finds a rare word (in one file of 500) and a
# common one (20 times in three files of four); the manual way converts
# every file with `serz IN xml:OUT` (on every core) and runs grep over the
# XML. Then serzfind replaces 10,000 matches in 500 files (each verified
# and backed up) and undoes it. Everything is made in a temporary folder
# and removed at the end.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
files=${2:-2000}
bin=$PWD/$build/bin
for program in serz serzfind findfiles_route; do
  [ -x "$bin/$program" ] || { echo "build $program first (cmake --build $build --target $program)" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VANTREL_STATE_DIR=$work/state
jobs=$(nproc)

seconds() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc; }

echo "making $files files..."
"$bin/findfiles_route" "$work/route" "$files"
mb=$(du -sm --apparent-size "$work/route" | cut -f1)
echo "route: $files files, $mb MB of binary, $jobs cores"
cat "$work"/route/Tiles/*/*.bin >/dev/null  # in the page cache for both ways

time_serzfind() {
  local word=$1 start end
  start=$(seconds)
  "$bin/serzfind" "$word" "$work/route" >"$work/found.txt" 2>"$work/summary.txt" || true
  end=$(seconds)
  echo "serzfind $word: $(wc -l <"$work/found.txt") matches, $(elapsed "$start" "$end") s ($(tail -1 "$work/summary.txt"))"
  last=$(elapsed "$start" "$end")
}

time_serzfind Wolverhampton
rare=$last
time_serzfind Semaphore
common=$last

# The manual way: every file converted, then grep over the XML.
start=$(seconds)
(cd "$work/route" && find . -name '*.bin' -print0 |
  xargs -0 -P "$jobs" -n 50 sh -c 'for f; do mkdir -p "../xml/${f%/*}"; "$0" "$f" "xml:../xml/$f.xml"; done' "$bin/serz")
converted=$(seconds)
convert=$(elapsed "$start" "$converted")
for word in Wolverhampton Semaphore; do
  start=$(seconds)
  count=$(grep -rn "$word" "$work/xml" | wc -l)
  end=$(seconds)
  grep_time=$(elapsed "$start" "$end")
  manual=$(echo "$convert + $grep_time" | bc)
  ours=$([ "$word" = Wolverhampton ] && echo "$rare" || echo "$common")
  echo "manual $word: $count matches, convert $convert s + grep -n $grep_time s = $manual s;" \
    "serzfind is $(echo "scale=1; $manual / $ours" | bc)x faster," \
    "$(echo "scale=0; $mb / $ours" | bc) MB of binary a second"
done
rm -rf "$work/xml"

# Replace: 500 files with 20 matches each, verified and backed up.
"$bin/findfiles_route" "$work/replace" 500 100
start=$(seconds)
"$bin/serzfind" --replace Signalpost Semaphore "$work/replace" >/dev/null 2>"$work/summary.txt"
end=$(seconds)
echo "replace: $(tail -1 "$work/summary.txt"); $(elapsed "$start" "$end") s," \
  "$(find "$work/replace" -name '*.bak' | wc -l) backups"
start=$(seconds)
"$bin/serzfind" --undo "$work/replace" >/dev/null 2>"$work/summary.txt"
end=$(seconds)
echo "undo: $(tail -1 "$work/summary.txt"); $(elapsed "$start" "$end") s"
