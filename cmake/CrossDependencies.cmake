# Libraries Debian packages for Linux only, compiled from source with the
# cross toolchain: pugixml for the converter, GoogleTest for the tests, and
# zlib and libzip (built beforehand) for the packed-file reader, libsquish and
# libpng (built beforehand too) for the textures.

set(VANTREL_PUGIXML_SOURCE_DIR "" CACHE PATH
    "Unpacked pugixml sources (holding src/pugixml.cpp) for the Windows build")
if(NOT EXISTS "${VANTREL_PUGIXML_SOURCE_DIR}/src/pugixml.cpp")
  message(FATAL_ERROR "The Windows build compiles pugixml from source: set "
          "VANTREL_PUGIXML_SOURCE_DIR to the unpacked Debian source (scripts/windows-tests.sh does).")
endif()
add_library(vantrel_pugixml STATIC "${VANTREL_PUGIXML_SOURCE_DIR}/src/pugixml.cpp")
target_include_directories(vantrel_pugixml SYSTEM PUBLIC "${VANTREL_PUGIXML_SOURCE_DIR}/src")
target_compile_options(vantrel_pugixml PRIVATE -w)
add_library(pugixml::pugixml ALIAS vantrel_pugixml)

if(VANTREL_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(_lib gtest gtest_main gmock gmock_main)
    target_compile_options(${_lib} PRIVATE -w)
    if(NOT TARGET GTest::${_lib})
      add_library(GTest::${_lib} ALIAS ${_lib})
    endif()
  endforeach()
endif()

# zlib and libzip for the packed-file reader.
include(${CMAKE_CURRENT_LIST_DIR}/WindowsZip.cmake)

# libsquish and libpng for the textures.
include(${CMAKE_CURRENT_LIST_DIR}/WindowsTexture.cmake)
