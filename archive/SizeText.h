#pragma once
#include <cstdint>
#include <string>

namespace vantrel::archive {

// A size for a list or a message: "512 bytes", "12.3 KB", "4.0 MB",
// "2.1 GB" (units of 1024, as Windows Explorer counts them).
std::string sizeText(std::uint64_t bytes);

}  // namespace vantrel::archive
