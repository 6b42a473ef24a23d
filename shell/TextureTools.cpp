#include "shell/TextureTools.h"

#include <cstdint>
#include <optional>
#include <span>
#include <variant>
#include <vector>

#include "pipeline/WorkingNames.h"
#include "platform/core/Files.h"
#include "platform/core/MessagePump.h"
#include "platform/editor/Editor.h"
#include "platform/window/Dialogs.h"
#include "shell/TexturePreview.h"
#include "texture/TextureExport.h"
#include "texture/TextureImport.h"
#include "texture/TextureLevels.h"

namespace vantrel::shell {

namespace {

using platform::MessageIcon;

constexpr const char* kDdsFilter = "DDS files (*.dds)|*.dds";
constexpr const char* kPngFilter = "PNG files (*.png)|*.png";
// A file to import larger than this is refused before it is read: as hex
// in the text it would take three times as much, beyond what the editor
// holds well.
constexpr std::uint64_t kLargestImport = 256u << 20;

std::string folderOf(const std::string& path) {
  const std::size_t nameLength = pipeline::fileNameOf(path).size();
  if (nameLength >= path.size()) return {};
  return path.substr(0, path.size() - nameLength - 1);
}

// The document's name without its last extension; "texture" for text from
// no file.
std::string stemOf(const std::string& path) {
  const std::string name = pipeline::fileNameOf(path);
  if (name.empty()) return "texture";
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

platform::FileDialogRequest dialogRequest(const TextureToolsContext& context, bool save,
                                          const char* filter, const char* title,
                                          const std::string& fileName = {}) {
  platform::FileDialogRequest request;
  request.save = save;
  request.filter = filter;
  request.title = title;
  request.startFolder = folderOf(context.documentPath);
  request.fileName = fileName;
  return request;
}

// The editor's text is a texture whose levels can be read; otherwise says
// why and gives false.
bool holdsReadableTexture(const TextureToolsContext& context, const std::string& failed) {
  const std::string_view text = context.editor.view();
  if (!looksLikeTexture(text)) {
    context.dialogs.message(kNoTextureMessage, MessageIcon::Information);
    return false;
  }
  const auto levels = texture::readTextureLevels(text);
  if (const auto* problem = std::get_if<texture::TextureProblem>(&levels)) {
    context.dialogs.message(failed + problem->message, MessageIcon::Warning);
    return false;
  }
  return true;
}

// Writes bytes to target in one step; false after saying why it failed.
bool writeFile(const TextureToolsContext& context, const std::string& target,
               const std::vector<std::uint8_t>& bytes) {
  const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const auto failure = files::replaceWhole(target, content);
  if (!failure) return true;
  context.dialogs.message(
      target + " could not be written (" + failure->reason + "). No file was changed.",
      MessageIcon::Warning);
  return false;
}

std::string levelCountText(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " level" : " levels");
}

// Reads the file to import; nullopt after saying why it cannot be.
std::optional<std::vector<std::uint8_t>> readImport(const TextureToolsContext& context,
                                                    const std::string& path) {
  std::string content;
  if (const auto failure = files::readWhole(path, content, kLargestImport)) {
    const std::string reason =
        failure->kind == files::FileError::Kind::TooLarge
            ? "it is larger than " + std::to_string(kLargestImport >> 20) + " MB"
            : failure->reason;
    context.dialogs.message(path + " could not be read (" + reason + "). The text is unchanged.",
                            MessageIcon::Warning);
    return std::nullopt;
  }
  return std::vector<std::uint8_t>(content.begin(), content.end());
}

// Puts an import's outcome into the editor: the new text as one undo step,
// or the refusal as a message with the text left alone.
std::string applyImport(const TextureToolsContext& context, const std::string& path,
                        const texture::ImportResult& result) {
  const std::string name = pipeline::fileNameOf(path);
  if (const auto* problem = std::get_if<texture::TextureProblem>(&result)) {
    context.dialogs.message(
        name + " was not imported: " + problem->message + " The text is unchanged.",
        MessageIcon::Warning);
    return {};
  }
  const auto* imported = std::get_if<texture::ImportedTexture>(&result);
  if (imported == nullptr) {  // the format question again, after it was answered
    context.dialogs.message(name + " was not imported: its format could not be taken over.",
                            MessageIcon::Warning);
    return {};
  }
  if (!context.editor.replaceAllText(imported->text)) {
    context.dialogs.message(name + " was not imported: the editor is read-only now.",
                            MessageIcon::Warning);
    return {};
  }
  return "Imported " + name + ": " + imported->summary + " Save .bin rebuilds the texture file.";
}

std::string chooseImport(const TextureToolsContext& context, const char* filter,
                         const char* title) {
  if (!holdsReadableTexture(context, "Nothing can be imported: ")) return {};
  const std::string path = context.dialogs.chooseFile(dialogRequest(context, false, filter, title));
  platform::processPendingMessages();
  return path;
}

}  // namespace

std::string exportDdsFile(const TextureToolsContext& context) {
  if (!holdsReadableTexture(context, "No .dds file was made: ")) return {};
  // Everything is checked before the user is asked for a name.
  const std::string_view text = context.editor.view();
  const auto dds = texture::exportAllLevelsDds(text);
  if (const auto* problem = std::get_if<texture::TextureProblem>(&dds)) {
    context.dialogs.message("No .dds file was made: " + problem->message, MessageIcon::Warning);
    return {};
  }
  const std::size_t levels =
      std::get<texture::TextureLevels>(texture::readTextureLevels(text)).levels.size();
  const std::string target = context.dialogs.chooseFile(dialogRequest(
      context, true, kDdsFilter, "Export DDS", stemOf(context.documentPath) + ".dds"));
  if (target.empty()) return {};  // cancelled: nothing is written
  platform::processPendingMessages();
  if (!writeFile(context, target, std::get<std::vector<std::uint8_t>>(dds))) return {};
  return "Exported " + levelCountText(levels) + " to " + pipeline::fileNameOf(target);
}

std::string exportPngFile(const TextureToolsContext& context, std::size_t levelIndex) {
  if (!holdsReadableTexture(context, "No .png file was made: ")) return {};
  const auto png = texture::exportLevelPng(context.editor.view(), levelIndex);
  if (const auto* problem = std::get_if<texture::TextureProblem>(&png)) {
    context.dialogs.message("No .png file was made: " + problem->message, MessageIcon::Warning);
    return {};
  }
  // Levels after the first carry their number in the suggested name.
  const std::string suffix =
      levelIndex == 0 ? std::string() : "-level" + std::to_string(levelIndex + 1);
  const std::string target = context.dialogs.chooseFile(dialogRequest(
      context, true, kPngFilter, "Export PNG", stemOf(context.documentPath) + suffix + ".png"));
  if (target.empty()) return {};
  platform::processPendingMessages();
  if (!writeFile(context, target, std::get<std::vector<std::uint8_t>>(png))) return {};
  return "Exported level " + std::to_string(levelIndex + 1) + " to " + pipeline::fileNameOf(target);
}

std::string importDdsFile(const TextureToolsContext& context) {
  const std::string path = chooseImport(context, kDdsFilter, "Import DDS");
  if (path.empty()) return {};
  const auto bytes = readImport(context, path);
  if (!bytes) return {};
  texture::ImportResult result = texture::importDds(context.editor.view(), *bytes);
  if (const auto* change = std::get_if<texture::FormatChangeNeeded>(&result)) {
    if (context.dialogs.ask(change->question, false) != platform::Answer::Yes)
      return pipeline::fileNameOf(path) + " was not imported; the text is unchanged";
    texture::ImportChoices choices;
    choices.changeFormat = true;
    result = texture::importDds(context.editor.view(), *bytes, choices);
  }
  return applyImport(context, path, result);
}

std::string importPngFile(const TextureToolsContext& context) {
  const std::string path = chooseImport(context, kPngFilter, "Import PNG");
  if (path.empty()) return {};
  const auto bytes = readImport(context, path);
  if (!bytes) return {};
  return applyImport(context, path, texture::importPng(context.editor.view(), *bytes));
}

}  // namespace vantrel::shell
