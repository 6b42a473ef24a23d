#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The one line of preferences.txt: width, height, top, left (twips, signed
// 16-bit) and the quoted viewer path, comma separated, ending in CR LF.
namespace vantrel::shell {

struct Settings {
  std::int16_t width = 0;
  std::int16_t height = 0;
  std::int16_t top = 0;
  std::int16_t left = 0;
  std::string viewerPath;  // strIV
};

enum class SettingsReadStatus {
  Complete,    // all five items read
  EndedEarly,  // the text ended after the four numbers: viewer path empty
  Incomplete,  // the text ended before the four numbers: keep the design geometry
  Malformed,   // an item is not a 16-bit integer: ignore geometry and path
};

struct SettingsRead {
  SettingsReadStatus status = SettingsReadStatus::Malformed;
  Settings settings;
};

// Reads the items separated by commas or line breaks, blanks around numbers
// ignored, the path taken from between its double quotes.
SettingsRead parseSettings(std::string_view text);

// "W,H,T,L,\"path\"\r\n".
std::string formatSettings(const Settings& settings);

// Rounds a twips value to the nearest integer (ties to even) and clamps it
// into the signed 16-bit range the file can hold.
std::int16_t toSettingsNumber(double twips);

}  // namespace vantrel::shell
