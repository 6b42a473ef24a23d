#pragma once
// Constants of the binary layout shared by the reader and the writer (the
// record kinds are in Records.h).

#include <cstdint>
#include <string_view>

namespace serz::bin {

inline constexpr std::string_view kMagic = "SERZ";
inline constexpr std::uint32_t kVersion = 0x00010000;
inline constexpr std::size_t kHeaderSize = 8;

inline constexpr std::uint8_t kSpelledOut = 0xFF;  // lead byte of a record with its shape
inline constexpr int kCacheSlots = 255;            // lead bytes 00..FE name a cached shape
inline constexpr std::uint16_t kNewString = 0xFFFF;
inline constexpr std::uint32_t kMaxTableSize = 0xFFFF;  // indices 0..FFFE

}  // namespace serz::bin
