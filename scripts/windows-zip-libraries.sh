#!/usr/bin/env bash
# Builds zlib and libzip from their unpacked Debian sources as static
# Windows libraries with the mingw-w64 toolchain, and installs them into
# PREFIX (lib/libz.a, lib/libzip.a and their headers), where
# cmake/WindowsZip.cmake takes them. libzip is built with deflate and store
# only: no bzip2, lzma or zstd, no TLS or Windows crypto library, no tools,
# tests, examples or manuals, and no DLL.
#
#   scripts/windows-zip-libraries.sh ZLIB_SOURCE LIBZIP_SOURCE WORK PREFIX
#
# WORK holds the two build folders. PREFIX/.built records what was built
# from which sources: a second run with the same sources and options does
# nothing.
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: $0 ZLIB_SOURCE LIBZIP_SOURCE WORK PREFIX" >&2; exit 2; }
absolute() { mkdir -p "$1" && (cd "$1" && pwd); }
zlib_source=$(cd "$1" && pwd)
libzip_source=$(cd "$2" && pwd)
work=$(absolute "$3")
prefix=$(absolute "$4")
me=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
cd "$(dirname "$me")/.."

toolchain=$PWD/cmake/toolchain-mingw64.cmake
libzip_options=(
  -DBUILD_SHARED_LIBS=OFF -DLIBZIP_DO_INSTALL=ON
  -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF
  -DENABLE_COMMONCRYPTO=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF
  -DENABLE_OPENSSL=OFF -DENABLE_WINDOWS_CRYPTO=OFF
  -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF
  -DBUILD_OSSFUZZ=OFF
)
# What the installed libraries were made from: sources, options and the
# scripts that build them.
recipe=$({
  printf '%s\n' "$zlib_source" "$libzip_source" "${libzip_options[@]}"
  sha256sum "$me" cmake/zlib/CMakeLists.txt "$toolchain" | cut -d' ' -f1
})
stamp=$prefix/.built
if [ -f "$stamp" ] && [ "$(<"$stamp")" = "$recipe" ] &&
   [ -f "$prefix/lib/libz.a" ] && [ -f "$prefix/lib/libzip.a" ]; then
  exit 0
fi

rm -rf "$prefix" "$work"
mkdir -p "$work"
jobs=${VANTREL_JOBS:-2}
log=$work/build.log
echo "== zlib and libzip for Windows (log: $log)"
step() {
  if ! "$@" >>"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "$me: failed: $*" >&2
    exit 1
  fi
}

step cmake -S cmake/zlib -B "$work/zlib" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DZLIB_SOURCE_DIR="$zlib_source"
step cmake --build "$work/zlib" -j "$jobs"
step cmake --install "$work/zlib"

# libzip finds this zlib through the cache entries of CMake's FindZLIB.
step cmake -S "$libzip_source" -B "$work/libzip" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a" \
  "${libzip_options[@]}"
step cmake --build "$work/libzip" -j "$jobs"
step cmake --install "$work/libzip"

echo "$recipe" >"$stamp"
