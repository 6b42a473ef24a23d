#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vantrel::texture {

// Writes bytes to a new temporary file beside path and renames it over path,
// so path holds either its old content or the whole new one, never a part.
// On failure the temporary file is removed, path is unchanged, and the reason
// is returned (nullopt on success).
std::optional<std::string> replaceFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace vantrel::texture
