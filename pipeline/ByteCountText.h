#pragma once
#include <cstdint>
#include <string>

namespace vantrel::pipeline {

// A size for a message: "2,147,483,648 bytes (2.1 GB)", "512 bytes".
std::string byteCountText(std::uint64_t bytes);

}  // namespace vantrel::pipeline
