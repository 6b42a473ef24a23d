#pragma once
#include <array>
#include <cstddef>
#include <string_view>

#include "shell/MainWindowLogic.h"

// The main window's design: its title, client size and every control with
// its caption, place (twips of the client area), tooltip, how it follows a
// resize, whether a running conversion disables it, and what pressing it
// does, in tab order. A window only walks this table: a new button is one
// row here and one handler in MainWindowLogic.
namespace vantrel::shell {

inline constexpr const char* kMainWindowTitle = "Vantrel bin file editor and texture viewer";
inline constexpr int kDesignClientWidth = 12450;   // twips
inline constexpr int kDesignClientHeight = 10140;  // twips

enum class ControlKind { Label, LineEdit, Button, CheckBox, Editor };

// How a control follows the window's size (see ResizeLayout.h).
enum class Follows {
  Nothing,
  EditorArea,     // place and size
  FirstRow,       // top
  SecondRow,      // top
  Label1Place,    // left
  PathBoxWidth,   // left and width
  Command1Place,  // left
  Command9Place,  // left
};

using Handler = void (MainWindowLogic::*)();

struct ControlDesign {
  const char* name;
  ControlKind kind;
  const char* caption;  // nullptr: none
  int left, top, width, height;
  const char* toolTip;  // nullptr: none
  Follows follows;
  bool busyDisables;                   // disabled (the editor: read-only) while a conversion runs
  Handler onPress;                     // buttons: the click; nullptr: none
  const char* enterPresses = nullptr;  // line edits: Enter presses this button
};

// Tab order is the order of this table; the label never takes the focus.
inline constexpr std::array<ControlDesign, 17> kMainWindowControls{{
    {"Label1", ControlKind::Label, "Open .bin file", 360, 480, 1095, 375, nullptr,
     Follows::Label1Place, false, nullptr},
    {"Text1", ControlKind::LineEdit, nullptr, 2160, 480, 6975, 375, nullptr, Follows::PathBoxWidth,
     true, nullptr},
    {"Command1", ControlKind::Button, ".....", 9240, 480, 495, 375,
     "Browse for a .bin file to check/modify.", Follows::Command1Place, true,
     &MainWindowLogic::openBin},
    {"RichTextBox1", ControlKind::Editor, nullptr, 360, 1320, 11535, 6855, nullptr,
     Follows::EditorArea, true, nullptr},
    {"Command2", ControlKind::Button, "&Exit", 10920, 8520, 975, 375, "Close the editor",
     Follows::FirstRow, false, &MainWindowLogic::exit},
    {"Command3", ControlKind::Button, "&Save .bin", 9840, 8520, 975, 375,
     "Saves the xml file from the editor and converts it to .bin replacing original.",
     Follows::FirstRow, true, &MainWindowLogic::saveBin},
    {"Text2", ControlKind::LineEdit, nullptr, 480, 8520, 2535, 375, nullptr, Follows::FirstRow,
     false, nullptr, "Command4"},
    {"Command4", ControlKind::Button, "Find", 3120, 8520, 855, 375,
     "Find the word in the top box, keep clicking to cycle through all instances",
     Follows::FirstRow, true, &MainWindowLogic::find},
    {"Text3", ControlKind::LineEdit, nullptr, 480, 9000, 2535, 375, nullptr, Follows::SecondRow,
     false, nullptr, "Command5"},
    {"Command5", ControlKind::Button, "Replace", 3120, 9000, 855, 375,
     "Replace selected word with the one in replace box", Follows::SecondRow, true,
     &MainWindowLogic::replace},
    {"Command6", ControlKind::Button, "Replace All", 4080, 9000, 1215, 375,
     "Replaces all instances of top string with the one in the bottom box.", Follows::SecondRow,
     true, &MainWindowLogic::replaceAll},
    {"Check1", ControlKind::CheckBox, "Whole Word only", 4080, 8520, 1935, 375, nullptr,
     Follows::FirstRow, false, nullptr},
    {"Command7", ControlKind::Button, "Clear", 7680, 8520, 975, 375,
     "Clears screen and deletes .xml from TempFiles", Follows::FirstRow, true,
     &MainWindowLogic::clear},
    {"Command8", ControlKind::Button, "Save As", 8760, 8520, 975, 375,
     "Saves the modified .xml from editor but does no conversion.", Follows::FirstRow, true,
     &MainWindowLogic::saveAs},
    {"Command9", ControlKind::Button, "View other Vantrel files", 9960, 480, 1935, 375,
     "Converts some Vantrel files to .xml and displays in editor.", Follows::Command9Place, true,
     &MainWindowLogic::viewOtherFiles},
    {"Command10", ControlKind::Button, "Convert to DDS", 8400, 9000, 1455, 375, nullptr,
     Follows::SecondRow, true, &MainWindowLogic::convertToDds},
    {"Command11", ControlKind::Button, "View DDS", 9960, 9000, 1215, 375, nullptr,
     Follows::SecondRow, false, &MainWindowLogic::viewDds},
}};

// Index of the control with this name; the table's size when there is none
// (checked at compile time where it is used for a known name).
constexpr std::size_t controlIndex(std::string_view name) {
  for (std::size_t i = 0; i < kMainWindowControls.size(); ++i) {
    if (name == kMainWindowControls[i].name) return i;
  }
  return kMainWindowControls.size();
}

// The controls the logic reads, by place in the table.
inline constexpr std::size_t kPathBox = controlIndex("Text1");
inline constexpr std::size_t kFindBox = controlIndex("Text2");
inline constexpr std::size_t kReplaceBox = controlIndex("Text3");
inline constexpr std::size_t kWholeWordBox = controlIndex("Check1");
inline constexpr std::size_t kEditor = controlIndex("RichTextBox1");
inline constexpr std::size_t kLabel1 = controlIndex("Label1");
inline constexpr std::size_t kCommand1 = controlIndex("Command1");
inline constexpr std::size_t kCommand9 = controlIndex("Command9");

// Every name a row refers to exists.
constexpr bool tableRefersToExistingControls() {
  for (const ControlDesign& row : kMainWindowControls) {
    if (row.enterPresses != nullptr && controlIndex(row.enterPresses) == kMainWindowControls.size())
      return false;
  }
  return kEditor < kMainWindowControls.size() && kPathBox < kMainWindowControls.size() &&
         kFindBox < kMainWindowControls.size() && kReplaceBox < kMainWindowControls.size() &&
         kWholeWordBox < kMainWindowControls.size() && kLabel1 < kMainWindowControls.size() &&
         kCommand1 < kMainWindowControls.size() && kCommand9 < kMainWindowControls.size();
}
static_assert(tableRefersToExistingControls());

// The smallest client area at which every control is fully visible. Width:
// the rows' rightmost control keeps the editor's left margin from the right
// edge, so at the design size and wider the buttons on the right never touch
// it. Height: the resize rules then still give the editor about 1000 twips,
// with both rows below it.
constexpr int rightmostControlEdge() {
  int edge = 0;
  for (const ControlDesign& row : kMainWindowControls) {
    if (row.follows == Follows::FirstRow || row.follows == Follows::SecondRow)
      edge = edge > row.left + row.width ? edge : row.left + row.width;
  }
  return edge;
}
inline constexpr int kMinimumClientWidth =
    rightmostControlEdge() + kMainWindowControls[kEditor].left;
inline constexpr int kMinimumClientHeight = 4500;
static_assert(kMinimumClientWidth <= kDesignClientWidth &&
              kMinimumClientHeight <= kDesignClientHeight);

// The "Options" menu, top to bottom.
struct MenuEntryDesign {
  const char* name;
  const char* caption;
  bool busyDisables;
  Handler onChoose;
};
inline constexpr const char* kOptionsMenuName = "mnuOpt";
inline constexpr const char* kOptionsMenuCaption = "Options";
inline constexpr std::array<MenuEntryDesign, 3> kOptionsMenuEntries{{
    {"mnuIRF", "Texture Editor Path", false, &MainWindowLogic::chooseViewerPath},
    {"mnuCTF", "Clear Temp Files", true, &MainWindowLogic::clearTempFiles},
    {"mnuExit", "&Exit", false, &MainWindowLogic::exit},
}};

}  // namespace vantrel::shell
