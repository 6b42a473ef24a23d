#include "platform/core/Utf8Text.h"

namespace vantrel::platform {

namespace {

constexpr bool isTrailByte(unsigned char byte) { return (byte & 0xC0) == 0x80; }

unsigned char byteAt(std::string_view text, std::size_t at) {
  return static_cast<unsigned char>(text[at]);
}

}  // namespace

Utf8Character decodeUtf8(std::string_view text, std::size_t at) {
  const unsigned char lead = byteAt(text, at);
  if (lead < 0x80) return {lead, 1, true};
  const Utf8Character notUtf8{lead, 1, false};
  std::size_t length = 0;
  char32_t codePoint = 0;
  char32_t smallest = 0;  // anything below has a shorter form
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, codePoint = lead & 0x1Fu, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, codePoint = lead & 0x0Fu, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, codePoint = lead & 0x07u, smallest = 0x10000;
  } else {
    return notUtf8;
  }
  if (text.size() - at < length) return notUtf8;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char byte = byteAt(text, at + i);
    if (!isTrailByte(byte)) return notUtf8;
    codePoint = (codePoint << 6) | (byte & 0x3Fu);
  }
  if (codePoint < smallest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
    return notUtf8;
  return {codePoint, length, true};
}

std::size_t characterStart(std::string_view text, std::size_t at) {
  if (!isTrailByte(byteAt(text, at))) return at;
  // A trail byte belongs to the sequence whose lead byte stands at most
  // three bytes before it, with only trail bytes in between; anything else
  // leaves it a byte of its own.
  for (std::size_t back = 1; back <= 3 && back <= at; ++back) {
    if (isTrailByte(byteAt(text, at - back))) continue;
    const Utf8Character lead = decodeUtf8(text, at - back);
    return lead.valid && lead.length > back ? at - back : at;
  }
  return at;
}

bool isCharacterBoundary(std::string_view text, std::size_t at) {
  return at == 0 || at >= text.size() || characterStart(text, at) == at;
}

std::size_t nextCharacterBoundary(std::string_view text, std::size_t at) {
  if (at >= text.size()) return text.size();
  const std::size_t start = characterStart(text, at);
  return start + decodeUtf8(text, start).length;
}

void appendUtf8(std::string& out, char32_t codePoint) {
  const auto put = [&out](char32_t bits) { out.push_back(static_cast<char>(bits)); };
  if (codePoint < 0x80) {
    put(codePoint);
  } else if (codePoint < 0x800) {
    put(0xC0 | (codePoint >> 6));
    put(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    put(0xE0 | (codePoint >> 12));
    put(0x80 | ((codePoint >> 6) & 0x3F));
    put(0x80 | (codePoint & 0x3F));
  } else {
    put(0xF0 | (codePoint >> 18));
    put(0x80 | ((codePoint >> 12) & 0x3F));
    put(0x80 | ((codePoint >> 6) & 0x3F));
    put(0x80 | (codePoint & 0x3F));
  }
}

std::optional<std::size_t> startOfLastCharacters(std::string_view text, std::size_t count) {
  std::size_t start = text.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (start == 0) return std::nullopt;
    start = characterStart(text, start - 1);
  }
  return start;
}

}  // namespace vantrel::platform
