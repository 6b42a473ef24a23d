#include "platform/editor/WordCharacters.h"

namespace vantrel::platform {

bool isEditorWordCharacter(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') || byte == '_' || byte >= 0x80;
}

const std::string& editorWordCharacters() {
  static const std::string characters = [] {
    std::string set;
    for (int byte = 1; byte <= 0xff; ++byte)
      if (isEditorWordCharacter(static_cast<unsigned char>(byte))) set.push_back(static_cast<char>(byte));
    return set;
  }();
  return characters;
}

}  // namespace vantrel::platform
