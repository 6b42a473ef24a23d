#pragma once
#include <cstddef>
#include <string>

namespace vantrel::bench {

// An XML in the simulator's style (tabs, CR LF, typed values, d:id), made of
// repeated records until it holds about targetBytes.
std::string makeRecordSetXml(std::size_t targetBytes);

}  // namespace vantrel::bench
