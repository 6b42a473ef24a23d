#include "texture/LevelWriter.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <set>

#include "texture/HexData.h"
#include "texture/LevelOrder.h"
#include "texture/TextEdits.h"

namespace vantrel::texture {
namespace {

std::string number(std::uint64_t value) { return std::to_string(value); }

std::string pixels(std::uint32_t width, std::uint32_t height) {
  return number(width) + " \xC3\x97 " + number(height);
}

std::string_view slice(std::string_view text, TextSpan span) {
  return text.substr(span.offset, span.length);
}

// The line end the text uses, so that new blob lines match the others.
std::string lineEnd(std::string_view text, const TextureLevels& levels) {
  std::size_t at = std::string_view::npos;
  for (const TextureLevel& level : levels.levels) {
    at = slice(text, level.data).find('\n');
    if (at != std::string_view::npos) {
      at += level.data.offset;
      break;
    }
  }
  if (at == std::string_view::npos) at = text.find('\n');
  if (at == std::string_view::npos) return "\r\n";
  return at > 0 && text[at - 1] == '\r' ? "\r\n" : "\n";
}

std::string hex(std::span<const std::uint8_t> bytes, std::string_view end) {
  std::string out;
  appendHex(out, bytes, end);
  return out;
}

// Ids for new elements: above every d:id of the text while they fit in a
// signed 32-bit id, else the smallest unused positive ones.
class IdSource {
 public:
  explicit IdSource(std::string_view text) {
    constexpr std::string_view kId = "d:id=\"";
    for (std::size_t at = text.find(kId); at != std::string_view::npos;
         at = text.find(kId, at + 1)) {
      const char* first = text.data() + at + kId.size();
      std::int64_t value = 0;
      const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
      if (error == std::errc{}) used_.insert(value);
    }
    next_ = used_.empty() ? 1 : std::max<std::int64_t>(1, *used_.rbegin() + 1);
  }

  std::int64_t take() {
    if (next_ > std::numeric_limits<std::int32_t>::max()) next_ = 1;
    while (used_.count(next_)) ++next_;
    used_.insert(next_);
    return next_++;
  }

 private:
  std::set<std::int64_t> used_;
  std::int64_t next_ = 1;
};

// One level's element made from the template element (the text's largest
// level) with the new level's values.
std::string levelElement(std::string_view text, const TextureLevel& model, const DdsLevel& level,
                         BlockFormat format, std::int64_t id, std::string_view end) {
  const std::size_t base = model.element.offset;
  const auto local = [&](TextSpan span) { return span.offset - base; };
  std::vector<TextEdit> edits{
      {local(model.formatValue), model.formatValue.length, std::string(formatName(format))},
      {local(model.widthValue), model.widthValue.length, number(level.width)},
      {local(model.heightValue), model.heightValue.length, number(level.height)},
      {local(model.sizeValue), model.sizeValue.length, number(level.data.size())},
      {local(model.data), model.data.length, hex(level.data, end)},
  };
  if (model.idValue) {
    edits.push_back({local(*model.idValue), model.idValue->length, std::to_string(id)});
  } else {
    edits.push_back(
        {1 + std::string_view("cHcImageDx").size(), 0, " d:id=\"" + std::to_string(id) + "\""});
  }
  return applyEdits(slice(text, model.element), std::move(edits));
}

std::string describeChain(const std::vector<DdsLevel>& levels) {
  const DdsLevel& top = levels.front();
  const DdsLevel& bottom = levels.back();
  if (levels.size() == 1) return "1 level of " + pixels(top.width, top.height);
  return number(levels.size()) + " levels from " + pixels(top.width, top.height) + " down to " +
         pixels(bottom.width, bottom.height);
}

}  // namespace

std::string_view formatName(BlockFormat format) {
  switch (format) {
    case BlockFormat::Dxt1:
      return kDxt1FormatName;
    case BlockFormat::Dxt3:
      return kDxt3FormatName;
    case BlockFormat::Dxt5:
      return kDxt5FormatName;
  }
  return kDxt1FormatName;
}

ImportResult writeLevels(std::string_view text, const TextureLevels& levels,
                         const DdsTexture& texture, bool changeFormat, std::string_view source) {
  const std::vector<TextureLevel>& old = levels.levels;
  const std::vector<std::size_t> order = largestFirst(old);
  const TextureLevel& top = old[order.front()];
  const std::string_view newName = formatName(texture.format);
  const bool formatDiffers = std::any_of(old.begin(), old.end(), [&](const TextureLevel& level) {
    return level.blockFormat != texture.format;
  });
  if (formatDiffers && !changeFormat) {
    const std::string was =
        top.blockFormat ? std::string(fourCc(*top.blockFormat)) + " (" + top.formatName + ")"
                        : top.formatName;
    return FormatChangeNeeded{top.formatName, std::string(newName),
                              "The texture is " + was + " and the " + std::string(source) + " is " +
                                  std::string(fourCc(texture.format)) +
                                  ". Change the texture's format to " + std::string(newName) + "?"};
  }

  const std::string end = lineEnd(text, levels);
  std::vector<TextEdit> edits;
  bool sameShape = old.size() == texture.levels.size();
  for (std::size_t k = 0; sameShape && k < order.size(); ++k) {
    sameShape = old[order[k]].width == texture.levels[k].width &&
                old[order[k]].height == texture.levels[k].height;
  }
  std::string summary;
  if (sameShape) {
    for (std::size_t k = 0; k < order.size(); ++k) {
      const TextureLevel& level = old[order[k]];
      const DdsLevel& from = texture.levels[k];
      edits.push_back({level.data.offset, level.data.length, hex(from.data, end)});
      edits.push_back({level.sizeValue.offset, level.sizeValue.length, number(from.data.size())});
      if (level.blockFormat != texture.format)
        edits.push_back({level.formatValue.offset, level.formatValue.length, std::string(newName)});
    }
    summary = "Replaced the image data of " + describeChain(texture.levels) + ", " +
              std::string(fourCc(texture.format)) + ".";
  } else {
    // The Mip element's content: what comes before the first level, between
    // two levels and after the last stays as the text has it.
    const TextureLevel& first = old.front();
    const TextureLevel& last = old.back();
    const std::string_view before =
        text.substr(levels.mipContent.offset, first.element.offset - levels.mipContent.offset);
    const std::string_view between =
        old.size() > 1
            ? text.substr(first.element.offset + first.element.length,
                          old[1].element.offset - first.element.offset - first.element.length)
            : before;
    const std::size_t lastEnd = last.element.offset + last.element.length;
    const std::string_view after =
        text.substr(lastEnd, levels.mipContent.offset + levels.mipContent.length - lastEnd);
    IdSource ids(text);
    std::string content(before);
    for (std::size_t k = 0; k < texture.levels.size(); ++k) {
      if (k) content += between;
      content += levelElement(text, top, texture.levels[k], texture.format, ids.take(), end);
    }
    content += after;
    edits.push_back({levels.mipContent.offset, levels.mipContent.length, std::move(content)});
    const DdsLevel& largest = texture.levels.front();
    if (levels.textureWidthValue)
      edits.push_back({levels.textureWidthValue->offset, levels.textureWidthValue->length,
                       number(largest.width)});
    if (levels.textureHeightValue)
      edits.push_back({levels.textureHeightValue->offset, levels.textureHeightValue->length,
                       number(largest.height)});
    summary = "Rebuilt the texture as " + describeChain(texture.levels) + ", " +
              std::string(fourCc(texture.format)) + " (it had " + number(old.size()) +
              (old.size() == 1 ? " level" : " levels") + " from " + pixels(top.width, top.height) +
              ").";
  }
  if (formatDiffers) summary += " Its format is now " + std::string(newName) + ".";
  return ImportedTexture{applyEdits(text, std::move(edits)), std::move(summary)};
}

}  // namespace vantrel::texture
