# zlib and libzip for the Windows build: the static libraries that
# scripts/windows-zip-libraries.sh built from Debian's zlib and libzip
# source packages into VANTREL_ZIP_PREFIX (scripts/windows-configure.sh
# does both). They are linked into each program, so no DLL comes along.
#
#   ZLIB::ZLIB    zlib.h, libz.a
#   libzip::zip   zip.h, libzip.a (deflate and store only); brings zlib and
#                 advapi32, whose random numbers libzip uses

set(VANTREL_ZIP_PREFIX "" CACHE PATH
    "Folder with include/ and lib/ of the Windows zlib and libzip (scripts/windows-zip-libraries.sh)")
set(_zip_prefix "${VANTREL_ZIP_PREFIX}")
if(NOT EXISTS "${_zip_prefix}/lib/libzip.a" OR NOT EXISTS "${_zip_prefix}/lib/libz.a")
  message(FATAL_ERROR "The Windows build links zlib and libzip built from source: set "
          "VANTREL_ZIP_PREFIX to the folder scripts/windows-zip-libraries.sh installs into "
          "(scripts/windows-configure.sh does both).")
endif()

add_library(ZLIB::ZLIB STATIC IMPORTED GLOBAL)
set_target_properties(ZLIB::ZLIB PROPERTIES
  IMPORTED_LOCATION "${_zip_prefix}/lib/libz.a"
  INTERFACE_INCLUDE_DIRECTORIES "${_zip_prefix}/include")

add_library(libzip::zip STATIC IMPORTED GLOBAL)
set_target_properties(libzip::zip PROPERTIES
  IMPORTED_LOCATION "${_zip_prefix}/lib/libzip.a"
  INTERFACE_INCLUDE_DIRECTORIES "${_zip_prefix}/include"
  INTERFACE_LINK_LIBRARIES "ZLIB::ZLIB;advapi32")
