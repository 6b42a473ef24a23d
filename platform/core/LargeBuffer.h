#pragma once
// Large buffers: ask the system to back them with huge pages where it can.
// Touching tens of megabytes of fresh memory otherwise costs one page fault
// per 4 KiB, which dominates the conversion time.

#include <cstddef>

namespace vantrel::platform {

// The smallest range the advice is given for: two huge pages, so that an
// unaligned range still holds one whole aligned huge page.
constexpr std::size_t kLargeBufferMinimum = std::size_t{4} << 20;

// Advice only: does nothing where unsupported or for smaller ranges.
void adviseLargeBuffer(void* data, std::size_t bytes);

}  // namespace vantrel::platform
