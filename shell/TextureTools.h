#pragma once
#include <cstddef>
#include <string>

namespace vantrel::platform {
class Dialogs;
class Editor;
}  // namespace vantrel::platform

// The Tools menu's texture commands on the editor's texture text: every
// level out as one .dds, one level out as a .png, and a .dds or .png back
// in. Each returns the news for the window's status ("" when there is
// none: a cancel, or a message box said what happened).
namespace vantrel::shell {

// Where the editor's text came from ("" when from no file): the dialogs
// start in its folder and name the new file after it.
struct TextureToolsContext {
  platform::Dialogs& dialogs;
  platform::Editor& editor;
  std::string documentPath;
};

// Export DDS...: every level in one .dds file chosen in a save dialog.
std::string exportDdsFile(const TextureToolsContext& context);

// Export PNG...: the level of index levelIndex (counting from 0) as a .png
// file chosen in a save dialog.
std::string exportPngFile(const TextureToolsContext& context, std::size_t levelIndex);

// Import DDS... and Import PNG...: a file chosen in an open dialog replaces
// the texture's levels, the whole new text going into the editor as one
// undoable step. A .dds of another block format asks first; a refusal or
// No leaves the text and its undo history as they were.
std::string importDdsFile(const TextureToolsContext& context);
std::string importPngFile(const TextureToolsContext& context);

}  // namespace vantrel::shell
