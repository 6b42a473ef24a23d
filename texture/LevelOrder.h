#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "texture/TextureLevels.h"

namespace vantrel::texture {

// The indexes of `levels` from the largest level to the smallest (levels of
// one size keep the text's order).
std::vector<std::size_t> largestFirst(const std::vector<TextureLevel>& levels);

// Whether the levels, largest first, form a mip chain of one block format:
// each half the size of the one before (at least 1). nullopt when they do;
// otherwise the reason, completing "The levels cannot be exported: ...".
std::optional<std::string> whyNotAChain(const std::vector<TextureLevel>& levels,
                                        const std::vector<std::size_t>& order);

}  // namespace vantrel::texture
