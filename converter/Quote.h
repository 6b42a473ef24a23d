#pragma once
// Input text quoted for an error message, cut short when long.

#include <string>
#include <string_view>

namespace serz {

inline std::string quoted(std::string_view s) {
  std::string out;
  out.reserve(66);
  out += '"';
  out.append(s.substr(0, 60));
  if (s.size() > 60) out += "...";
  out += '"';
  return out;
}

}  // namespace serz
