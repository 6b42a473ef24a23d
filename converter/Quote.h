#pragma once
// Input text shown in an error message. Control characters are written as
// \xHH (the C0 controls, DEL, and the C1 controls U+0080 to U+009F as their
// two UTF-8 bytes), so a message stays on one line and a name from the input
// cannot send a line break or a terminal escape sequence to the screen.

#include <string>
#include <string_view>

namespace serz {

inline bool isControlByte(unsigned char c) { return c < 0x20 || c == 0x7F; }

// `s` with its control characters written as \xHH; everything else as it is.
inline std::string withControlsEscaped(std::string_view s) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(s.size());
  const auto escape = [&](unsigned char c) {
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 0xF];
  };
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    const bool c1 = c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(s[i + 1]) <= 0x9F;
    if (c1) {
      escape(c);
      escape(static_cast<unsigned char>(s[++i]));
    } else if (isControlByte(c)) {
      escape(c);
    } else {
      out += s[i];
    }
  }
  return out;
}

// In double quotes, cut after 60 bytes, with its control characters escaped.
inline std::string quoted(std::string_view s) {
  std::string out;
  out.reserve(66);
  out += '"';
  out += withControlsEscaped(s.substr(0, 60));
  if (s.size() > 60) out += "...";
  out += '"';
  return out;
}

}  // namespace serz
