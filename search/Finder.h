#pragma once
#include <string_view>

#include "pipeline/EditorSession.h"

namespace vantrel::platform {
class Editor;
}

// Find, Replace and Replace All over the editor's text. The texts come in
// already converted to the editor's 8-bit encoding.
namespace vantrel::search {

class Finder {
 public:
  Finder(platform::Editor& editor, EditorSession& session) : editor_(editor), session_(session) {}

  // Find (Command4, Enter in the find box).
  void find(std::string_view findText, bool wholeWord);
  // Replace (Command5, Enter in the replace box): the selection becomes replacement.
  void replace(std::string_view replacement);
  // Replace All (Command6).
  void replaceAll(std::string_view findText, std::string_view replacement);

 private:
  platform::Editor& editor_;
  EditorSession& session_;
};

}  // namespace vantrel::search
