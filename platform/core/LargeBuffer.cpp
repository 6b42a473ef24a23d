#include "platform/core/LargeBuffer.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vantrel::platform {

void adviseLargeBuffer(void* data, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::uintptr_t kHuge = 2u << 20;
  static_assert(kLargeBufferMinimum >= 2 * kHuge);
  if (bytes < kLargeBufferMinimum) return;
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
  const std::uintptr_t last = (begin + bytes) & ~(kHuge - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  // Windows large pages need a privilege most users lack; nothing to do.
  (void)data;
  (void)bytes;
#endif
}

}  // namespace vantrel::platform
