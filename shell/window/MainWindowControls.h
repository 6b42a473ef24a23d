#pragma once
#include <array>

// The main window's design: its title, client size and every control with
// its caption, place (twips of the client area), tooltip, in tab order.
// Plain data, so the window code only walks it.
namespace vantrel::shell {

inline constexpr const char* kMainWindowTitle = "Vantrel bin file editor and texture viewer";
inline constexpr int kDesignClientWidth = 12450;   // twips
inline constexpr int kDesignClientHeight = 10140;  // twips

enum class ControlKind { Label, LineEdit, Button, CheckBox, Editor };

struct ControlDesign {
  const char* name;
  ControlKind kind;
  const char* caption;  // nullptr: none
  int left, top, width, height;
  const char* toolTip;  // nullptr: none
};

// Tab order is the order of this table; the label never takes the focus.
inline constexpr std::array<ControlDesign, 17> kMainWindowControls{{
    {"Label1", ControlKind::Label, "Open .bin file", 360, 480, 1095, 375, nullptr},
    {"Text1", ControlKind::LineEdit, nullptr, 2160, 480, 6975, 375, nullptr},
    {"Command1", ControlKind::Button, ".....", 9240, 480, 495, 375,
     "Browse for a .bin file to check/modify."},
    {"RichTextBox1", ControlKind::Editor, nullptr, 360, 1320, 11535, 6855, nullptr},
    {"Command2", ControlKind::Button, "&Exit", 10920, 8520, 975, 375, "Close the editor"},
    {"Command3", ControlKind::Button, "&Save .bin", 9840, 8520, 975, 375,
     "Saves the xml file from the editor and converts it to .bin replacing original."},
    {"Text2", ControlKind::LineEdit, nullptr, 480, 8520, 2535, 375, nullptr},
    {"Command4", ControlKind::Button, "Find", 3120, 8520, 855, 375,
     "Find the word in the top box, keep clicking to cycle through all instances"},
    {"Text3", ControlKind::LineEdit, nullptr, 480, 9000, 2535, 375, nullptr},
    {"Command5", ControlKind::Button, "Replace", 3120, 9000, 855, 375,
     "Replace selected word with the one in replace box"},
    {"Command6", ControlKind::Button, "Replace All", 4080, 9000, 1215, 375,
     "Replaces all instances of top string with the one in the bottom box."},
    {"Check1", ControlKind::CheckBox, "Whole Word only", 4080, 8520, 1935, 375, nullptr},
    {"Command7", ControlKind::Button, "Clear", 7680, 8520, 975, 375,
     "Clears screen and deletes .xml from TempFiles"},
    {"Command8", ControlKind::Button, "Save As", 8760, 8520, 975, 375,
     "Saves the modified .xml from editor but does no conversion."},
    {"Command9", ControlKind::Button, "View other Vantrel files", 9960, 480, 1935, 375,
     "Converts some Vantrel files to .xml and displays in editor."},
    {"Command10", ControlKind::Button, "Convert to DDS", 8400, 9000, 1455, 375, nullptr},
    {"Command11", ControlKind::Button, "View DDS", 9960, 9000, 1215, 375, nullptr},
}};

// The "Options" menu, top to bottom.
struct MenuEntryDesign {
  const char* name;
  const char* caption;
};
inline constexpr const char* kOptionsMenuName = "mnuOpt";
inline constexpr const char* kOptionsMenuCaption = "Options";
inline constexpr std::array<MenuEntryDesign, 3> kOptionsMenuEntries{{
    {"mnuIRF", "Texture Editor Path"},
    {"mnuCTF", "Clear Temp Files"},
    {"mnuExit", "&Exit"},
}};

}  // namespace vantrel::shell
