#include "texture/LevelOrder.h"

#include <algorithm>
#include <numeric>

namespace vantrel::texture {

std::vector<std::size_t> largestFirst(const std::vector<TextureLevel>& levels) {
  std::vector<std::size_t> order(levels.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return std::uint64_t{levels[a].width} * levels[a].height >
           std::uint64_t{levels[b].width} * levels[b].height;
  });
  return order;
}

std::optional<std::string> whyNotAChain(const std::vector<TextureLevel>& levels,
                                        const std::vector<std::size_t>& order) {
  const TextureLevel& top = levels[order.front()];
  for (std::size_t k = 0; k < order.size(); ++k) {
    const TextureLevel& level = levels[order[k]];
    if (!level.blockFormat) {
      return "level " + std::to_string(order[k] + 1) + " is " + level.formatName +
             "; only DXT1, DXT3 and DXT5 levels go into a DDS file";
    }
    if (level.blockFormat != top.blockFormat) {
      return "level " + std::to_string(order[k] + 1) + " is " +
             std::string(fourCc(*level.blockFormat)) + " and level " +
             std::to_string(order.front() + 1) + " " + std::string(fourCc(*top.blockFormat)) +
             "; a DDS file holds one format";
    }
    if (k == 0) continue;
    const TextureLevel& bigger = levels[order[k - 1]];
    const std::uint32_t w = std::max<std::uint32_t>(1, bigger.width / 2);
    const std::uint32_t h = std::max<std::uint32_t>(1, bigger.height / 2);
    if (level.width != w || level.height != h) {
      return "level " + std::to_string(order[k] + 1) + " is " + std::to_string(level.width) +
             " \xC3\x97 " + std::to_string(level.height) + "; after a " +
             std::to_string(bigger.width) + " \xC3\x97 " + std::to_string(bigger.height) +
             " level a mip chain needs " + std::to_string(w) + " \xC3\x97 " + std::to_string(h);
    }
  }
  return std::nullopt;
}

}  // namespace vantrel::texture
