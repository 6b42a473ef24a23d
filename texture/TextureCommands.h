#pragma once
#include <string>

namespace vantrel::platform {
class Dialogs;
class Editor;
}  // namespace vantrel::platform

// The main window's texture commands.
namespace vantrel::texture {

// Convert to DDS (Command10): the editor's text to a .dds chosen in a save dialog.
void convertToDds(platform::Dialogs& dialogs, const platform::Editor& editor);

// View DDS (Command11): a .dds chosen in an open dialog, shown in the viewer strIV.
void viewDds(platform::Dialogs& dialogs, const std::string& strIV,
             const std::string& programFolder);

// Texture Editor Path (mnuIRF): choose the viewer; a cancel keeps the old path.
void chooseViewerPath(platform::Dialogs& dialogs, std::string& strIV);

}  // namespace vantrel::texture
