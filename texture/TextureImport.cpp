#include "texture/TextureImport.h"

namespace vantrel::texture {

ImportResult importDds(std::string_view, std::span<const std::uint8_t>, ImportChoices) {
  return TextureProblem{"Import is not built yet."};
}

ImportResult importPng(std::string_view, std::span<const std::uint8_t>) {
  return TextureProblem{"Import is not built yet."};
}

}  // namespace vantrel::texture
