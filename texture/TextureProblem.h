#pragma once
#include <string>
#include <variant>

namespace vantrel::texture {

// Why a texture operation was refused: one or more whole sentences, ready to
// be shown in a message box or printed after the program's name, e.g.
// "The DDS file is a cube map; only flat textures can be imported."
// Whenever an operation gives a problem, nothing was changed.
struct TextureProblem {
  std::string message;
};

// The outcome of an operation that either gives a value or is refused.
template <typename T>
using TextureResult = std::variant<T, TextureProblem>;

}  // namespace vantrel::texture
