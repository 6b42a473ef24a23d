#pragma once
#include <cstdint>
#include <string>

namespace vantrel {

// The main window's state about the document in the editor, besides the
// texts of the path box and the editor. Every field starts empty or 0.
struct EditorSession {
  std::string strXML;       // name (no folder) of the working XML in TempFiles
  std::string strIV;        // full path of the image viewer; empty when none
  std::string VantrelPath;  // the simulator's folder (dialogs' start); "" when unknown
  bool NotBin = false;      // the text came from View other files
  // The file the editor's text came from (the .bin, or the other file);
  // empty when none, e.g. after Clear or a failed open.
  std::string documentPath;
  // True while the editor holds no text converted from the .bin in the path
  // box (a failed Open .bin): Save .bin must then not write over that file.
  bool noConvertedText = false;
  std::int32_t lngStart = 0;  // start index of the last search
  std::int32_t lngFound = 0;  // match index of the last search, or -1
};

}  // namespace vantrel
