#include "texture/TextureCommands.h"

#include <filesystem>
#include <system_error>
#include <variant>

#include "pipeline/ConverterCommand.h"
#include "platform/core/Files.h"
#include "platform/core/WideText.h"
#include "platform/core/MessagePump.h"
#include "platform/core/RunProgram.h"
#include "platform/editor/Editor.h"
#include "platform/window/Dialogs.h"
#include "texture/DdsBuilder.h"

namespace vantrel::texture {
namespace {

using platform::MessageIcon;

const std::string kMissingViewerText =
    "To view DDS files you need to install a suitable Texture viewer (e.g. IrfanView) on your PC "
    "\r\nand select the path from the Options menu.";

// The dialog's answer; empty when the user cancelled.
std::string chosenPath(platform::Dialogs& dialogs, bool save, const char* filter,
                       const char* title) {
  platform::FileDialogRequest request;
  request.save = save;
  request.filter = filter;
  request.title = title;
  return dialogs.chooseFile(request);
}

}  // namespace

void convertToDds(platform::Dialogs& dialogs, const platform::Editor& editor) {
  // Everything is checked before the user is asked for a name: a text that
  // is no texture is said to be so at once.
  const DdsResult result = buildDds(editor.view());
  if (const auto* problem = std::get_if<DdsProblem>(&result)) {
    dialogs.message("No .dds file was made: the texture text in the editor " + problem->text + ".",
                    MessageIcon::Warning);
    return;
  }
  const std::string target =
      chosenPath(dialogs, true, "dds Files (*.dds)|*.dds", "Save .DDS format files");
  if (target.empty()) return;  // cancelled: nothing is deleted or written
  platform::processPendingMessages();

  // The target is replaced in one step, so a failure leaves the old file as
  // it was.
  const auto& bytes = std::get<std::vector<std::uint8_t>>(result);
  const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (const auto failure = files::replaceWhole(target, content)) {
    dialogs.message(
        target + " could not be written (" + failure->reason + "). No file was changed.",
        MessageIcon::Warning);
  }
}

void viewDds(platform::Dialogs& dialogs, const std::string& strIV,
             const std::string& programFolder) {
  if (strIV.empty()) {
    dialogs.message(kMissingViewerText, MessageIcon::Warning);
    return;
  }
  const std::string image = chosenPath(dialogs, false, "DDS Files (*.dds)|*.dds", "View .dds file");
  if (image.empty()) return;  // cancelled: no viewer is started

  // Read strIV once: while the viewer runs, the window stays usable and the
  // user may choose another viewer path.
  const std::string viewer = strIV;
  const std::optional<std::string> command = pipeline::viewerCommand(viewer, image);
  if (!command) {
    const std::string text =
        pipeline::canQuote(viewer)
            ? image +
                  " cannot be shown: its path contains a double quote, which cannot be "
                  "passed on a command line."
            : "The viewer " + viewer +
                  " cannot be started: its path contains a double quote, which cannot be passed "
                  "on a command line.";
    dialogs.message(text, MessageIcon::Warning);
    return;
  }

  // The viewer is started from the program folder, as the converter is; an
  // absolute viewer path does not depend on it, so a folder that cannot be
  // made current is no reason to stop.
  std::error_code ignored;
  std::filesystem::current_path(platform::pathFromUtf8(programFolder), ignored);
  platform::RunOptions options;
  options.showWindow = true;
  const platform::RunResult viewerRun = platform::runProgram(*command, options);
  platform::processPendingMessages();
  if (!viewerRun.started) {
    dialogs.message("The viewer " + viewer + " could not be started to show " + image +
                        ". Choose the viewer again with Texture Editor Path in the Options menu.",
                    MessageIcon::Warning);
  }
}

void chooseViewerPath(platform::Dialogs& dialogs, std::string& strIV) {
#ifdef _WIN32
  const char* filter = "IrfanView (*.exe)|*.exe";
#else
  // Programs here have no extension of their own: every file is shown.
  const char* filter = "All files (*)|*";
#endif
  const std::string viewer = chosenPath(dialogs, false, filter, "Select your i_view32.exe file");
  if (viewer.empty()) return;  // a cancel keeps the old path
  if (!files::isExecutableFile(viewer)) {
    dialogs.message(viewer +
                        " is not a program that can be started, so the image viewer was not "
                        "changed. Choose the viewer's program file.",
                    MessageIcon::Warning);
    return;
  }
  strIV = viewer;
}

}  // namespace vantrel::texture
