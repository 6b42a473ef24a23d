#pragma once
#include <array>
#include <string>

#include "shell/MainWindowControls.h"

// The "Tools" menu beside "Options": commands beyond the main window's
// controls, each with a key that works wherever the focus is in the window.
namespace vantrel::shell {

struct ToolEntryDesign {
  const char* name;
  const char* caption;
  // The key with Ctrl (and Shift when shift): a capital letter or one of
  // the characters [ ] - =.
  char key;
  bool shift;
  Handler onChoose;
};

inline constexpr const char* kToolsMenuName = "mnuTools";
inline constexpr const char* kToolsMenuCaption = "Tools";
inline constexpr std::array<ToolEntryDesign, 11> kToolsMenuEntries{{
    {"mnuGoToLine", "Go to Line...", 'G', false, &MainWindowLogic::goToLine},
    {"mnuFoldAll", "Fold All", '[', true, &MainWindowLogic::foldAll},
    {"mnuUnfoldAll", "Unfold All", ']', true, &MainWindowLogic::unfoldAll},
    {"mnuFoldElement", "Fold Element", '-', true, &MainWindowLogic::foldElement},
    {"mnuUnfoldElement", "Unfold Element", '=', true, &MainWindowLogic::unfoldElement},
    {"mnuTexturePreview", "Texture Preview", 'T', false, &MainWindowLogic::showTexturePreview},
    {"mnuExportDds", "Export DDS...", 'E', false, &MainWindowLogic::exportDds},
    {"mnuExportPng", "Export PNG...", 'E', true, &MainWindowLogic::exportPng},
    {"mnuImportDds", "Import DDS...", 'I', false, &MainWindowLogic::importDds},
    {"mnuImportPng", "Import PNG...", 'I', true, &MainWindowLogic::importPng},
    {"mnuFindInFiles", "Find in Files...", 'F', true, &MainWindowLogic::findInFiles},
}};

// "Ctrl+Shift+[" and the like, as menus show keys.
inline std::string toolKeyText(const ToolEntryDesign& entry) {
  return std::string("Ctrl+") + (entry.shift ? "Shift+" : "") + entry.key;
}

}  // namespace vantrel::shell
