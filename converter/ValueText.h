#pragma once
// The text of one XML value turned into the bits the binary stores, with the
// range checks of its type. Errors are thrown as ValueTextError; the XML
// reader adds the position.

#include "converter/ValueType.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace serz::valuetext {

struct ValueTextError {
    std::string reason;
    bool inAltEncoding = false;  // the d:alt_encoding attribute is at fault, not the text
};

// Unsigned decimal up to `max`; `what` names it in messages.
std::uint64_t unsignedNumber(std::string_view s, std::uint64_t max, std::string_view what);

// Integer, bool and float text (not strings), as little-endian payload bits.
std::uint64_t scalar(ValueType type, std::string_view s);

// A float value keeps the exact bits of d:alt_encoding unless its text has
// been changed to another number; then the text wins.
std::uint64_t floatValue(ValueType type, std::string_view s, std::optional<std::string_view> altEncoding);

}  // namespace serz::valuetext
