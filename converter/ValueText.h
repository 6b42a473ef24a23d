#pragma once
// The text of one XML value turned into the bits the binary stores, with the
// range checks of its type. Problems are thrown as detail::Failure at the
// position the caller's Where gives.

#include "converter/ValueType.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace serz::valuetext {

// Where a text lies in the input. Asked only when a problem is reported, so
// that working out a position costs nothing while all is well.
class Where {
 public:
  virtual std::size_t offset() const = 0;

 protected:
  ~Where() = default;
};

class At final : public Where {
 public:
  explicit At(std::size_t offset) : offset_(offset) {}
  std::size_t offset() const override { return offset_; }

 private:
  std::size_t offset_;
};

// Unsigned decimal up to `max`; `what` names it in messages.
std::uint64_t unsignedNumber(std::string_view s, std::uint64_t max, std::string_view what,
                             const Where& where);

// A 32-bit id (d:id, a reference): signed as the converter prints it, or
// unsigned; both give the same 32 bits.
std::uint32_t id32(std::string_view s, std::string_view what, const Where& where);

// Integer, bool and float text (not strings), as little-endian payload bits.
std::uint64_t scalar(ValueType type, std::string_view s, const Where& where);

// A float value keeps the exact bits of d:alt_encoding unless its text has
// been changed to another number; then the text wins.
struct AltEncoding {
  std::string_view text;
  std::size_t position;
};
std::uint64_t floatValue(ValueType type, std::string_view s, const Where& where,
                         std::optional<AltEncoding> alt);

}  // namespace serz::valuetext
