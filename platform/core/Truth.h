#pragma once
#include <cstdint>

namespace vantrel {

// The program's truth values: 16-bit integers, true is -1 and false is 0,
// exactly these two, so callers may compare with True by equality.
using Truth = std::int16_t;
inline constexpr Truth True = -1;
inline constexpr Truth False = 0;

inline constexpr Truth toTruth(bool b) { return b ? True : False; }

}  // namespace vantrel
