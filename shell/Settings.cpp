#include "shell/Settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace vantrel::shell {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

// Walks the settings text item by item.
class ItemReader {
 public:
  explicit ItemReader(std::string_view text) : text_(text) {}

  void skipBlanksAndLineBreaks() {
    while (pos_ < text_.size() && (isBlank(text_[pos_]) || isLineBreak(text_[pos_]))) ++pos_;
  }
  bool atEnd() const { return pos_ >= text_.size(); }

  // One unquoted item up to the next comma or line break, blanks trimmed;
  // the separator is consumed (CR LF counts as one).
  std::string_view unquotedItem() {
    std::size_t begin = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && !isLineBreak(text_[pos_])) ++pos_;
    std::string_view item = text_.substr(begin, pos_ - begin);
    while (!item.empty() && isBlank(item.back())) item.remove_suffix(1);
    consumeSeparator();
    return item;
  }

  // The text between the double quotes; an unterminated quote runs to the
  // end of its line.
  std::string quotedItem() {
    ++pos_;  // opening quote
    std::size_t begin = pos_;
    while (pos_ < text_.size() && text_[pos_] != '"' && !isLineBreak(text_[pos_])) ++pos_;
    std::string item(text_.substr(begin, pos_ - begin));
    if (pos_ < text_.size() && text_[pos_] == '"') ++pos_;
    return item;
  }

  bool nextIsQuote() const { return pos_ < text_.size() && text_[pos_] == '"'; }

 private:
  void consumeSeparator() {
    if (pos_ >= text_.size()) return;
    if (text_[pos_] == ',') {
      ++pos_;
    } else if (text_[pos_] == '\r') {
      ++pos_;
      if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    } else if (text_[pos_] == '\n') {
      ++pos_;
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

std::optional<std::int16_t> parseInt16(std::string_view item) {
  if (!item.empty() && item.front() == '+') item.remove_prefix(1);
  if (item.empty()) return std::nullopt;
  std::int16_t value = 0;
  auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), value);
  if (ec != std::errc() || end != item.data() + item.size()) return std::nullopt;
  return value;
}

}  // namespace

SettingsRead parseSettings(std::string_view text) {
  SettingsRead result;
  ItemReader reader(text);
  std::int16_t* numbers[] = {&result.settings.width, &result.settings.height, &result.settings.top,
                             &result.settings.left};
  for (std::int16_t* number : numbers) {
    reader.skipBlanksAndLineBreaks();
    if (reader.atEnd()) {
      result.status = SettingsReadStatus::Incomplete;
      return result;
    }
    auto value = parseInt16(reader.unquotedItem());
    if (!value) {
      result.status = SettingsReadStatus::Malformed;
      return result;
    }
    *number = *value;
  }

  reader.skipBlanksAndLineBreaks();
  if (reader.atEnd()) {
    result.status = SettingsReadStatus::EndedEarly;
    return result;
  }
  result.settings.viewerPath =
      reader.nextIsQuote() ? reader.quotedItem() : std::string(reader.unquotedItem());
  result.status = SettingsReadStatus::Complete;
  return result;
}

std::string formatSettings(const Settings& s) {
  return std::to_string(s.width) + "," + std::to_string(s.height) + "," + std::to_string(s.top) +
         "," + std::to_string(s.left) + ",\"" + s.viewerPath + "\"\r\n";
}

std::int16_t toSettingsNumber(double twips) {
  if (std::isnan(twips)) return 0;
  constexpr double lowest = std::numeric_limits<std::int16_t>::min();
  constexpr double highest = std::numeric_limits<std::int16_t>::max();
  if (twips <= lowest) return std::numeric_limits<std::int16_t>::min();
  if (twips >= highest) return std::numeric_limits<std::int16_t>::max();
  double floor = std::floor(twips);
  double fraction = twips - floor;
  double rounded = fraction > 0.5               ? floor + 1
                   : fraction < 0.5             ? floor
                   : std::fmod(floor, 2.0) == 0 ? floor
                                                : floor + 1;  // ties to even
  return static_cast<std::int16_t>(std::clamp(rounded, lowest, highest));
}

}  // namespace vantrel::shell
