# libsquish and libpng for the Windows build: the static libraries that
# scripts/windows-texture-libraries.sh built from Debian's libsquish and
# libpng1.6 source packages into VANTREL_TEXTURE_PREFIX
# (scripts/windows-configure.sh does both). They are linked into each
# program, so no DLL comes along.
#
#   Squish::Squish  squish.h, libsquish.a
#   PNG::PNG        png.h, libpng.a; brings zlib (ZLIB::ZLIB of WindowsZip.cmake)

set(VANTREL_TEXTURE_PREFIX "" CACHE PATH
    "Folder with include/ and lib/ of the Windows libsquish and libpng (scripts/windows-texture-libraries.sh)")
set(_texture_prefix "${VANTREL_TEXTURE_PREFIX}")
if(NOT EXISTS "${_texture_prefix}/lib/libsquish.a" OR NOT EXISTS "${_texture_prefix}/lib/libpng.a")
  message(FATAL_ERROR "The Windows build links libsquish and libpng built from source: set "
          "VANTREL_TEXTURE_PREFIX to the folder scripts/windows-texture-libraries.sh installs into "
          "(scripts/windows-configure.sh does both).")
endif()

add_library(Squish::Squish STATIC IMPORTED GLOBAL)
set_target_properties(Squish::Squish PROPERTIES
  IMPORTED_LOCATION "${_texture_prefix}/lib/libsquish.a"
  INTERFACE_INCLUDE_DIRECTORIES "${_texture_prefix}/include")

add_library(PNG::PNG STATIC IMPORTED GLOBAL)
set_target_properties(PNG::PNG PROPERTIES
  IMPORTED_LOCATION "${_texture_prefix}/lib/libpng.a"
  INTERFACE_INCLUDE_DIRECTORIES "${_texture_prefix}/include"
  INTERFACE_LINK_LIBRARIES "ZLIB::ZLIB")
