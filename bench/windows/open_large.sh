#!/usr/bin/env bash
# Open .bin at the size of a real scenario under Wine: a generated .bin
# whose XML is about MB megabytes (500 unless given), opened end to end by
# the Windows build (serz.exe writes the working XML, Scintilla's Win32
# control loads it and paints), three times, with the whole process's time.
# The .bin is made by the Linux build's serz_sample.
#
#   bench/windows/open_large.sh [WINDOWS_BUILD] [LINUX_BUILD] [MB]   (build-win, build, 500)
set -euo pipefail
cd "$(dirname "$0")/../.."
windows_build=$(realpath "${1:-build-win}")
linux_build=${2:-build}
mb=${3:-500}
cmake --build "$windows_build" --target windows_bench >/dev/null
work=$(mktemp -d)
xvfb_pid=
cleanup() {
  rm -rf "$work"
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
"$linux_build/bin/serz_sample" "$work/sample.bin" "$mb" >/dev/null

export WINEPREFIX=${WINEPREFIX:-$windows_build/wineprefix}
export WINEDEBUG=-all
if [ -z "${DISPLAY:-}" ]; then
  display_file=$work/display
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=:$(head -n1 "$display_file")
fi
wineboot -i >/dev/null 2>&1 || true
for _ in $(seq "${RUNS:-3}"); do
  /usr/bin/time -f "whole process: %e s, peak %M KB (Wine's own process included)" \
    wine "$windows_build/bin/windows_bench.exe" --open "Z:$work/sample.bin" 2>&1 |
    grep -E "^opened|^whole|failed"
done
