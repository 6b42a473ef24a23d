#pragma once
// Large buffers: ask the system to back them with huge pages where it can.
// Touching tens of megabytes of fresh memory otherwise costs one page fault
// per 4 KiB, which dominates the conversion time.

#include <cstddef>

namespace vantrel::platform {

// Advice only: does nothing where unsupported or for small ranges.
void adviseLargeBuffer(void* data, std::size_t bytes);

}  // namespace vantrel::platform
