# Scintilla's Win32 editor control and Lexilla's XML lexer for the Windows
# build, compiled as static libraries from Debian's scite source package,
# which holds both (scripts/windows-tests.sh fetches it with
# scripts/fetch-debian-source.sh). Like any target they stay built in the
# build folder; only a changed source folder or flag rebuilds them.
#
#   scintilla_win32  the control: Scintilla_RegisterClasses(hInstance), then
#                    windows of class "Scintilla"; headers Scintilla.h,
#                    ILexer.h. Brings the system libraries it needs.
#   lexilla_win32    CreateLexer("xml") from Lexilla.h (see LexillaXml.cxx);
#                    headers Lexilla.h, SciLexer.h. Brings scintilla_win32's
#                    headers.

set(VANTREL_SCITE_SOURCE_DIR "" CACHE PATH
    "Unpacked scite sources (holding scintilla/ and lexilla/) for the Windows build")
set(_scintilla "${VANTREL_SCITE_SOURCE_DIR}/scintilla")
set(_lexilla "${VANTREL_SCITE_SOURCE_DIR}/lexilla")
if(NOT EXISTS "${_scintilla}/win32/ScintillaWin.cxx" OR NOT EXISTS "${_lexilla}/lexers/LexHTML.cxx")
  message(FATAL_ERROR "The Windows build compiles Scintilla and Lexilla from source: set "
          "VANTREL_SCITE_SOURCE_DIR to the unpacked Debian scite source, for example "
          "the folder that `scripts/fetch-debian-source.sh scite build-win/deps` prints "
          "(scripts/windows-tests.sh does this).")
endif()

# The objects of Scintilla's win32/makefile for libscintilla.a.
set(_scintilla_sources
  src/AutoComplete.cxx src/CallTip.cxx src/CaseConvert.cxx src/CaseFolder.cxx
  src/CellBuffer.cxx src/ChangeHistory.cxx src/CharacterCategoryMap.cxx
  src/CharacterType.cxx src/CharClassify.cxx src/ContractionState.cxx src/DBCS.cxx
  src/Decoration.cxx src/Document.cxx src/EditModel.cxx src/Editor.cxx src/EditView.cxx
  src/Geometry.cxx src/Indicator.cxx src/KeyMap.cxx src/LineMarker.cxx src/MarginView.cxx
  src/PerLine.cxx src/PositionCache.cxx src/RESearch.cxx src/RunStyles.cxx
  src/Selection.cxx src/Style.cxx src/UniConversion.cxx src/UniqueString.cxx
  src/ViewStyle.cxx src/XPM.cxx src/ScintillaBase.cxx
  win32/HanjaDic.cxx win32/PlatWin.cxx win32/ScintillaWin.cxx)
list(TRANSFORM _scintilla_sources PREPEND "${_scintilla}/")

# The lexer infrastructure of Lexilla's makefile and the one lexer we use.
set(_lexilla_sources
  lexlib/Accessor.cxx lexlib/CharacterCategory.cxx lexlib/CharacterSet.cxx
  lexlib/DefaultLexer.cxx lexlib/LexAccessor.cxx lexlib/LexerBase.cxx
  lexlib/LexerModule.cxx lexlib/LexerSimple.cxx lexlib/PropSetSimple.cxx
  lexlib/StyleContext.cxx lexlib/WordList.cxx
  lexers/LexHTML.cxx)
list(TRANSFORM _lexilla_sources PREPEND "${_lexilla}/")

# Upstream code is built as upstream builds it (C++17), without our include
# folders and warnings: its warnings are not ours to fix.
set_source_files_properties(${_scintilla_sources} ${_lexilla_sources} PROPERTIES COMPILE_OPTIONS -w)

add_library(scintilla_win32 STATIC ${_scintilla_sources})
set_target_properties(scintilla_win32 PROPERTIES
  CXX_STANDARD 17
  INCLUDE_DIRECTORIES "${_scintilla}/include;${_scintilla}/src")
target_include_directories(scintilla_win32 SYSTEM INTERFACE "${_scintilla}/include")
target_link_libraries(scintilla_win32 INTERFACE gdi32 user32 imm32 ole32 uuid oleaut32 msimg32)

add_library(lexilla_win32 STATIC ${_lexilla_sources} "${CMAKE_CURRENT_LIST_DIR}/LexillaXml.cxx")
set_target_properties(lexilla_win32 PROPERTIES CXX_STANDARD 17 INCLUDE_DIRECTORIES "")
target_include_directories(lexilla_win32 SYSTEM
  PRIVATE "${_lexilla}/lexlib"
  PUBLIC "${_lexilla}/include" "${_scintilla}/include")
