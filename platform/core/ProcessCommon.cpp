#include <algorithm>

#include "platform/core/Process.h"

namespace vantrel::platform {

void appendLimited(std::string& kept, const char* data, std::size_t size) {
  if (kept.size() >= kErrorOutputLimit) return;
  kept.append(data, std::min(size, kErrorOutputLimit - kept.size()));
}

}  // namespace vantrel::platform
