#!/usr/bin/env bash
# Configures the Windows cross build (mingw-w64) in a build folder: installs
# what is missing, fetches pugixml, scite (Scintilla and Lexilla), zlib and
# libzip as Debian source packages into BUILD/deps, builds zlib and libzip
# into BUILD/deps/prefix (once: a later run with the same sources does not
# build them again), and runs CMake with the toolchain file. Used by
# scripts/windows-tests.sh and scripts/package-windows.sh.
#
#   scripts/windows-configure.sh BUILD
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: scripts/windows-configure.sh BUILD}
deps=$build/deps
mkdir -p "$deps"

scripts/setup-debian.sh

# pugixml: Debian packages it for Linux only, so its source package is
# fetched from the machine's own package sources and compiled with the
# cross toolchain.
pugixml_dir=$(scripts/fetch-debian-source.sh pugixml "$deps" | tail -n1)
# Scintilla and Lexilla, with their Win32 layer, come in SciTE's source package.
scite_dir=$(scripts/fetch-debian-source.sh scite "$deps" | tail -n1)
# zlib and libzip for the packed-file reader, static libraries made with
# the cross toolchain before the main build, which links them.
zlib_dir=$(scripts/fetch-debian-source.sh zlib "$deps" | tail -n1)
libzip_dir=$(scripts/fetch-debian-source.sh libzip "$deps" | tail -n1)
scripts/windows-zip-libraries.sh "$zlib_dir" "$libzip_dir" "$deps/build" "$deps/prefix"
# libsquish and libpng for the textures, the same way; libpng takes the zlib
# built above.
squish_dir=$(scripts/fetch-debian-source.sh libsquish "$deps" | tail -n1)
png_dir=$(scripts/fetch-debian-source.sh libpng1.6 "$deps" | tail -n1)
scripts/windows-texture-libraries.sh "$squish_dir" "$png_dir" "$deps/prefix" \
  "$deps/texture-build" "$deps/texture-prefix"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-mingw64.cmake" \
  -DVANTREL_GUI=OFF -DVANTREL_BENCH=OFF -DVANTREL_FUZZ=OFF \
  -DVANTREL_PUGIXML_SOURCE_DIR="$pugixml_dir" -DVANTREL_SCITE_SOURCE_DIR="$scite_dir" \
  -DVANTREL_ZIP_PREFIX="$(cd "$deps/prefix" && pwd)" \
  -DVANTREL_TEXTURE_PREFIX="$(cd "$deps/texture-prefix" && pwd)" >/dev/null
