#include "texture/TextureLevels.h"

#include <algorithm>
#include <charconv>

#include "texture/HexData.h"

namespace vantrel::texture {
namespace {

constexpr std::string_view kLevelTag = "cHcImageDx";
constexpr std::uint32_t kLargestSide = 32767;  // what a level's sUInt16 and the DDS builder allow
constexpr std::uint64_t kLargestData = 2147483647;

bool endsName(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '>' || c == '/';
}

// The first start tag `<name` (not a longer name) in [from, to).
std::size_t findStartTag(std::string_view text, std::string_view name, std::size_t from,
                         std::size_t to) {
  while (from < to) {
    const std::size_t at = text.find('<', from);
    if (at == std::string_view::npos || at >= to) return std::string_view::npos;
    const std::size_t after = at + 1 + name.size();
    if (after < text.size() && text.compare(at + 1, name.size(), name) == 0 &&
        endsName(text[after]))
      return at;
    from = at + 1;
  }
  return std::string_view::npos;
}

// The '>' that ends the tag starting at `at`, past quoted attribute values.
std::size_t tagEnd(std::string_view text, std::size_t at) {
  char quote = 0;
  for (std::size_t i = at; i < text.size(); ++i) {
    const char c = text[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return i;
    }
  }
  return std::string_view::npos;
}

std::size_t lineOf(std::string_view text, std::size_t offset) {
  const std::string_view before = text.substr(0, offset);
  return 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
}

std::string number(std::uint64_t value) { return std::to_string(value); }

// The value of attribute `name` in the start tag [at, end], as a span.
std::optional<TextSpan> attributeValue(std::string_view text, std::size_t at, std::size_t end,
                                       std::string_view name) {
  const std::string_view tag = text.substr(0, end);
  for (std::size_t found = tag.find(name, at); found != std::string_view::npos;
       found = tag.find(name, found + 1)) {
    const std::size_t start = found + name.size() + 2;
    const bool wholeName = found > at && (tag[found - 1] == ' ' || tag[found - 1] == '\t' ||
                                          tag[found - 1] == '\r' || tag[found - 1] == '\n');
    if (!wholeName || start > tag.size() || tag.compare(found + name.size(), 2, "=\"") != 0)
      continue;
    const std::size_t close = tag.find('"', start);
    if (close == std::string_view::npos) return std::nullopt;
    return TextSpan{start, close - start};
  }
  return std::nullopt;
}

std::string_view trimmed(std::string_view value) {
  const auto gap = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!value.empty() && gap(value.front())) value.remove_prefix(1);
  while (!value.empty() && gap(value.back())) value.remove_suffix(1);
  return value;
}

std::optional<std::uint64_t> wholeNumber(std::string_view value) {
  value = trimmed(value);
  if (value.empty() || value.size() > 19) return std::nullopt;
  std::uint64_t result = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), result);
  if (error != std::errc{} || end != value.data() + value.size()) return std::nullopt;
  return result;
}

// Reads one level; every refusal names the level and its line.
class LevelReader {
 public:
  LevelReader(std::string_view text, std::size_t index, std::size_t start)
      : text_(text), index_(index), start_(start) {}

  // Reads the element from start_; `limit` is where the Mip content ends.
  std::optional<TextureProblem> read(std::size_t limit, TextureLevel& level) {
    const std::size_t open = tagEnd(text_, start_);
    if (open == std::string_view::npos || open >= limit) return fail("has no end to its start tag");
    if (text_[open - 1] == '/') return fail("is empty");
    const std::string endTag = "</" + std::string(kLevelTag) + ">";
    const std::size_t close = text_.find(endTag, open);
    if (close == std::string_view::npos || close >= limit) return fail("is not closed");
    if (findStartTag(text_, kLevelTag, open, close) != std::string_view::npos)
      return fail("is not closed before the next cHcImageDx starts");
    level.element = {start_, close + endTag.size() - start_};
    level.idValue = attributeValue(text_, start_, open, "d:id");

    if (auto bad = simpleValue("Format", open, close, level.formatValue)) return bad;
    if (auto bad = simpleValue("Width", open, close, level.widthValue)) return bad;
    if (auto bad = simpleValue("Height", open, close, level.heightValue)) return bad;
    level.formatName = std::string(trimmed(slice(level.formatValue)));
    level.blockFormat = blockFormatNamed(level.formatName);
    if (level.formatName.empty()) return fail("has an empty Format");
    if (auto bad = side("width", level.widthValue, level.width)) return bad;
    if (auto bad = side("height", level.heightValue, level.height)) return bad;
    if (auto bad = blob(open, close, level)) return bad;
    if (level.blockFormat) {
      const std::uint64_t needed = imageBytes(*level.blockFormat, level.width, level.height);
      if (level.dataSize != needed) {
        return fail("holds " + number(level.dataSize) + " bytes (its d:size); a " +
                    number(level.width) + " \xC3\x97 " + number(level.height) + " " +
                    std::string(fourCc(*level.blockFormat)) + " level takes " + number(needed));
      }
    }
    return std::nullopt;
  }

 private:
  // Names the level and its line (counted only for a refusal).
  TextureProblem fail(const std::string& what) const {
    return TextureProblem{"The texture text cannot be read: level " + number(index_ + 1) +
                          " (the cHcImageDx at line " + number(lineOf(text_, start_)) + ") " +
                          what + "."};
  }

  std::string_view slice(TextSpan span) const { return text_.substr(span.offset, span.length); }

  // The text of a child element <name ...>value</name> between from and to.
  std::optional<TextureProblem> simpleValue(std::string_view name, std::size_t from, std::size_t to,
                                            TextSpan& value) const {
    const std::size_t at = findStartTag(text_, name, from, to);
    if (at == std::string_view::npos) return fail("has no " + std::string(name) + " element");
    const std::size_t open = tagEnd(text_, at);
    if (open == std::string_view::npos || open >= to)
      return fail("has no end to its " + std::string(name) + " start tag");
    if (text_[open - 1] == '/') return fail("has an empty " + std::string(name));
    const std::size_t next = text_.find('<', open + 1);
    const std::string endTag = "</" + std::string(name) + ">";
    if (next == std::string_view::npos || next >= to || text_.compare(next, endTag.size(), endTag))
      return fail("has a " + std::string(name) + " element without plain text and " + endTag);
    value = {open + 1, next - open - 1};
    return std::nullopt;
  }

  std::optional<TextureProblem> side(std::string_view name, TextSpan span,
                                     std::uint32_t& out) const {
    const auto value = wholeNumber(slice(span));
    if (!value || *value < 1 || *value > kLargestSide) {
      return fail("gives the " + std::string(name) + " \"" + std::string(trimmed(slice(span))) +
                  "\", not a whole number from 1 to 32767");
    }
    out = static_cast<std::uint32_t>(*value);
    return std::nullopt;
  }

  std::optional<TextureProblem> blob(std::size_t from, std::size_t to, TextureLevel& level) const {
    const std::size_t at = findStartTag(text_, "d:blob", from, to);
    if (at == std::string_view::npos) return fail("has no d:blob element");
    const std::size_t open = tagEnd(text_, at);
    if (open == std::string_view::npos || open >= to)
      return fail("has no end to its d:blob start tag");
    const auto size = attributeValue(text_, at, open, "d:size");
    if (!size) return fail("has a d:blob without d:size");
    level.sizeValue = *size;
    const auto value = wholeNumber(slice(*size));
    if (!value || *value > kLargestData)
      return fail("gives the d:size \"" + std::string(slice(*size)) + "\", not a byte count");
    level.dataSize = *value;
    if (text_[open - 1] == '/') return fail("has an empty d:blob");
    const std::size_t close = text_.find("</d:blob>", open);
    if (close == std::string_view::npos || close >= to)
      return fail("has a d:blob that is not closed");
    level.data = {open + 1, close - open - 1};
    return std::nullopt;
  }

  std::string_view text_;
  std::size_t index_;
  std::size_t start_;
};

TextureProblem notReadable(const std::string& what) {
  return TextureProblem{"The texture text cannot be read: " + what + "."};
}

// The text of the last simple element <name>...</name> that starts before `before`.
std::optional<TextSpan> lastValueBefore(std::string_view text, std::string_view name,
                                        std::size_t before) {
  std::optional<TextSpan> found;
  for (std::size_t at = findStartTag(text, name, 0, before); at != std::string_view::npos;
       at = findStartTag(text, name, at + 1, before)) {
    const std::size_t open = tagEnd(text, at);
    if (open == std::string_view::npos || open >= before || text[open - 1] == '/') continue;
    const std::size_t next = text.find('<', open + 1);
    if (next == std::string_view::npos || next >= before) continue;
    found = TextSpan{open + 1, next - open - 1};
  }
  return found;
}

}  // namespace

TextureResult<TextureLevels> readTextureLevels(std::string_view text) {
  const std::size_t firstLevel = findStartTag(text, kLevelTag, 0, text.size());
  if (firstLevel == std::string_view::npos) {
    return TextureProblem{
        "The text is not a texture: it has no cHcImageDx element (a mip level with its image "
        "data)."};
  }
  const std::size_t mip = findStartTag(text, "Mip", 0, text.size());
  if (mip == std::string_view::npos) return notReadable("its levels are not inside a Mip element");
  const std::size_t secondMip = findStartTag(text, "Mip", mip + 1, text.size());
  if (secondMip != std::string_view::npos) {
    return notReadable("it holds more than one Mip element (at lines " + number(lineOf(text, mip)) +
                       " and " + number(lineOf(text, secondMip)) +
                       "), so more than one texture; only a text of one texture is handled");
  }
  const std::size_t mipOpen = tagEnd(text, mip);
  if (mipOpen == std::string_view::npos || text[mipOpen - 1] == '/')
    return notReadable("its levels are not inside the Mip element at line " +
                       number(lineOf(text, mip)));
  const std::size_t mipClose = text.find("</Mip>", mipOpen);
  if (mipClose == std::string_view::npos)
    return notReadable("the Mip element at line " + number(lineOf(text, mip)) + " is not closed");
  if (firstLevel < mipOpen ||
      findStartTag(text, kLevelTag, mipClose, text.size()) != std::string_view::npos) {
    return notReadable("a cHcImageDx element lies outside the Mip element at line " +
                       number(lineOf(text, mip)));
  }

  TextureLevels result;
  result.mipContent = {mipOpen + 1, mipClose - mipOpen - 1};
  std::size_t from = mipOpen + 1;
  for (std::size_t at = findStartTag(text, kLevelTag, from, mipClose); at != std::string_view::npos;
       at = findStartTag(text, kLevelTag, from, mipClose)) {
    TextureLevel level;
    LevelReader reader(text, result.levels.size(), at);
    if (auto bad = reader.read(mipClose, level)) return *bad;
    from = level.element.offset + level.element.length;
    result.levels.push_back(std::move(level));
  }
  result.textureWidthValue = lastValueBefore(text, "Width", mip);
  result.textureHeightValue = lastValueBefore(text, "Height", mip);
  return result;
}

std::string describeLevel(const TextureLevel& level, std::size_t index) {
  std::string format =
      level.blockFormat ? std::string(fourCc(*level.blockFormat)) : level.formatName;
  return "Level " + number(index + 1) + ": " + number(level.width) + " \xC3\x97 " +
         number(level.height) + ", " + format;
}

TextureResult<std::vector<std::uint8_t>> levelData(std::string_view text,
                                                   const TextureLevel& level) {
  std::size_t badAt = 0;
  auto bytes = decodeHex(text.substr(level.data.offset, level.data.length), &badAt);
  const std::string where =
      "the image data of the cHcImageDx at line " + number(lineOf(text, level.element.offset));
  if (!bytes) {
    return TextureProblem{"The texture text cannot be read: " + where +
                          " has a character that is not a hexadecimal digit, or half a byte, at "
                          "line " +
                          number(lineOf(text, level.data.offset + badAt)) + "."};
  }
  if (bytes->size() != level.dataSize) {
    return TextureProblem{"The texture text cannot be read: " + where + " holds " +
                          number(bytes->size()) + " bytes; its d:size says " +
                          number(level.dataSize) + "."};
  }
  return std::move(*bytes);
}

}  // namespace vantrel::texture
