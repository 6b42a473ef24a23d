#!/usr/bin/env bash
# Times the Windows editor's large cases under Wine (windows_bench.exe, on
# Scintilla's Win32 control in a shown window), and the same cases of the
# Linux build's pipeline_bench and editor_bench when that build has them,
# for the two columns of the README's table.
#
#   bench/windows/run.sh [WINDOWS_BUILD] [LINUX_BUILD]     (build-win, build)
#
# Use Release builds, on an otherwise idle machine. Starts an Xvfb of its
# own when no DISPLAY is set.
set -euo pipefail
cd "$(dirname "$0")/../.."
windows_build=$(realpath "${1:-build-win}")
linux_build=${2:-build}

[ -f "$windows_build/build.ninja" ] || scripts/windows-configure.sh "$windows_build"
cmake --build "$windows_build" --target windows_bench

export WINEPREFIX=${WINEPREFIX:-$windows_build/wineprefix}
export WINEDEBUG=-all
xvfb_pid=
cleanup() { [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=:$(head -n1 "$display_file")
  rm -f "$display_file"
fi

echo "== Windows (Wine), windows_bench.exe"
wine "$windows_build/bin/windows_bench.exe"

if [ -x "$linux_build/bin/pipeline_bench" ] && [ -x "$linux_build/bin/editor_bench" ]; then
  echo "== Linux (Qt offscreen), pipeline_bench and editor_bench"
  export QT_QPA_PLATFORM=offscreen
  "$linux_build/bin/pipeline_bench" 2>/dev/null | grep '^BM_'
  "$linux_build/bin/editor_bench" 2>/dev/null \
    --benchmark_filter='BM_(Set50MbAndPaint|FindRareWordFromTopOf50Mb|ReplaceAllIn10Mb|KeystrokeAtEndOf50Mb)/' |
    grep '^BM_'
fi
