#pragma once
#include <array>
#include <string>

#include "shell/AppIdentity.h"

// The About dialog's design: size, picture, labels, separators and the OK
// button, in twips. Plain data, so each window only walks it.
namespace vantrel::shell {

inline constexpr int kAboutWidth = 6165;  // twips, client area
inline constexpr int kAboutHeight = 4560;

enum class AboutFont {
  Title,    // MS Serif 12 pt bold
  Version,  // MS Sans Serif 9.75 pt bold
  Regular,  // MS Sans Serif 8.25 pt
  Dialog,   // MS Sans Serif 8.25 pt bold, the dialog's own font
};

struct AboutLabelDesign {
  const char* name;
  const char* text;  // the title and version rows are filled in by aboutLabelText
  int left, top, width, height;
  AboutFont font;
  bool wraps;  // several lines, top-left aligned; the others are one line
};

struct AboutPlaceDesign {
  const char* name;
  int left, top, width, height;
};

inline constexpr AboutPlaceDesign kAboutPicture{"Image1", 120, 240, 2055, 1125};
inline constexpr AboutPlaceDesign kAboutOkButton{"cmdOK", 5160, 3720, 900, 345};
inline constexpr std::array<AboutPlaceDesign, 2> kAboutSeparators{{
    {"Line1", 0, 0, 6030, 2},
    {"Line1", 0, 2880, 6120, 2},
}};

inline constexpr std::array<AboutLabelDesign, 8> kAboutLabels{{
    {"lblTitle", nullptr, 2280, 240, 3765, 480, AboutFont::Title, false},
    {"lblVersion", nullptr, 2280, 840, 3885, 225, AboutFont::Version, false},
    {"lblDescription", "A .bin file editor and texture converter for the rail simulator", 840, 1560,
     4920, 195, AboutFont::Regular, false},
    {"lblCredit1", "Written by the Vantrel BIN Editor developers.", 120, 1800, 5535, 255,
     AboutFont::Regular, false},
    {"lblCredit2", "Built on Scintilla, pugixml and, on Linux, Qt 6.", 120, 2040, 5535, 255,
     AboutFont::Regular, false},
    {"lblContact1", "Questions and bug reports:", 1080, 2280, 3975, 255, AboutFont::Regular, false},
    {"lblContact2", "the project's issue tracker, see the README.", 1080, 2520, 3975, 255,
     AboutFont::Regular, false},
    {"lblDisclaimer",
     "This program edits the simulator's content files through a converter. Every save keeps a "
     "backup of the original .bin file beside it. Still, keep your own copies of files you cannot "
     "replace: the program comes without any warranty.\r\n\r\n",
     120, 3120, 4815, 1275, AboutFont::Dialog, true},
}};

// "About Vantrel_BIN_Editor".
inline std::string aboutTitle() { return std::string("About ") + kApplicationTitle; }

// The text a label shows: the title (one "&", shown as it is) and the
// version are made from the application's identity.
inline std::string aboutLabelText(const AboutLabelDesign& label) {
  const std::string name = label.name;
  if (name == "lblTitle") return std::string(kApplicationTitle) + " for Vista & XP";
  if (name == "lblVersion") {
    return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
  }
  return label.text;
}

}  // namespace vantrel::shell
