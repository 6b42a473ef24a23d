#!/usr/bin/env bash
# Builds libsquish and libpng from their unpacked Debian sources as static
# Windows libraries with the mingw-w64 toolchain, and installs them into
# PREFIX (lib/libsquish.a, lib/libpng.a and their headers), where
# cmake/WindowsTexture.cmake takes them. libpng compiles against the zlib
# headers in ZLIB_PREFIX/include (scripts/windows-zip-libraries.sh built
# zlib there); the programs link that same libz.a. Only the libraries are
# built: no tests, tools, manuals or DLLs.
#
#   scripts/windows-texture-libraries.sh SQUISH_SOURCE PNG_SOURCE ZLIB_PREFIX WORK PREFIX
#
# WORK holds the two build folders. PREFIX/.built records what was built
# from which sources: a second run with the same sources does nothing.
set -euo pipefail
[ $# -eq 5 ] || { echo "usage: $0 SQUISH_SOURCE PNG_SOURCE ZLIB_PREFIX WORK PREFIX" >&2; exit 2; }
absolute() { mkdir -p "$1" && (cd "$1" && pwd); }
squish_source=$(cd "$1" && pwd)
png_source=$(cd "$2" && pwd)
zlib_prefix=$(cd "$3" && pwd)
work=$(absolute "$4")
prefix=$(absolute "$5")
me=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
cd "$(dirname "$me")/.."

[ -f "$zlib_prefix/include/zlib.h" ] || { echo "$me: no zlib.h in $zlib_prefix/include" >&2; exit 1; }
toolchain=$PWD/cmake/toolchain-mingw64.cmake
# What the installed libraries were made from: sources and the scripts that
# build them.
recipe=$({
  printf '%s\n' "$squish_source" "$png_source" "$zlib_prefix"
  sha256sum "$me" cmake/squish/CMakeLists.txt cmake/png/CMakeLists.txt "$toolchain" | cut -d' ' -f1
})
stamp=$prefix/.built
if [ -f "$stamp" ] && [ "$(<"$stamp")" = "$recipe" ] &&
   [ -f "$prefix/lib/libsquish.a" ] && [ -f "$prefix/lib/libpng.a" ]; then
  exit 0
fi

rm -rf "$prefix" "$work"
mkdir -p "$work"
jobs=${VANTREL_JOBS:-2}
log=$work/build.log
echo "== libsquish and libpng for Windows (log: $log)"
step() {
  if ! "$@" >>"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "$me: failed: $*" >&2
    exit 1
  fi
}

step cmake -S cmake/squish -B "$work/squish" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DSQUISH_SOURCE_DIR="$squish_source"
step cmake --build "$work/squish" -j "$jobs"
step cmake --install "$work/squish"

step cmake -S cmake/png -B "$work/png" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DPNG_SOURCE_DIR="$png_source" -DPNG_ZLIB_INCLUDE_DIR="$zlib_prefix/include"
step cmake --build "$work/png" -j "$jobs"
step cmake --install "$work/png"

echo "$recipe" >"$stamp"
