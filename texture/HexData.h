#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The hexadecimal text of a d:blob element, both ways.
namespace vantrel::texture {

// Decodes digit pairs into bytes, skipping blanks, tabs, CR and LF between
// them. nullopt when any other character occurs or the digits are odd;
// `badAt` (when given) then receives the offset in `hex` of the fault.
std::optional<std::vector<std::uint8_t>> decodeHex(std::string_view hex,
                                                   std::size_t* badAt = nullptr);

// Appends bytes in the layout serz writes: upper-case digits, 8-byte groups
// separated by one space, 4 groups per line, lines joined by `lineEnd` and
// none after the last.
void appendHex(std::string& out, std::span<const std::uint8_t> bytes, std::string_view lineEnd);

}  // namespace vantrel::texture
