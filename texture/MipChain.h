#pragma once
#include <cstddef>
#include <vector>

#include "texture/RgbaImage.h"

namespace vantrel::texture {

// The next smaller mip level: half the width and height (at least 1), each
// pixel the average of the 2 x 2 pixels it covers (of 2 x 1 or 1 x 2 when
// one side is already 1), rounded to nearest.
RgbaImage halfSize(const RgbaImage& image);

// The picture and its smaller levels: `levels` pictures in all, or down to
// 1 x 1 when levels is 0.
std::vector<RgbaImage> mipChain(const RgbaImage& image, std::size_t levels = 0);

}  // namespace vantrel::texture
