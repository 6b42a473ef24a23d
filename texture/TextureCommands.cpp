#include "texture/TextureCommands.h"

#include <QDir>
#include <QString>
#include <filesystem>
#include <system_error>
#include <variant>

#include "pipeline/ConverterCommand.h"
#include "pipeline/myfile.h"
#include "platform/core/MessagePump.h"
#include "platform/editor/Editor.h"
#include "platform/ui/AnsiText.h"
#include "platform/ui/Dialogs.h"
#include "texture/DdsBuilder.h"
#include "texture/ReplaceFile.h"

namespace vantrel::texture {
namespace {

using platform::dialogs;
using platform::MessageIcon;

const QString kMissingViewerText =
    QStringLiteral("To view DDS files you need to install a suitable Texture viewer (e.g. IrfanView) on your PC ") +
    QStringLiteral("\r\n") + QStringLiteral("and select the path from the Options menu.");

// The dialog's answer as the program's own path bytes (backslashes on
// Windows); empty when the user cancelled.
std::string chosenPath(QWidget* parent, bool save, const char* filter, const char* title) {
  platform::FileDialogRequest request;
  request.save = save;
  request.filter = QString::fromLatin1(filter);
  request.title = QString::fromLatin1(title);
  return platform::toNativePath(QDir::toNativeSeparators(dialogs().chooseFile(parent, request)));
}

QString pathText(const std::string& nativePath) { return platform::fromNativePath(nativePath); }
QString systemText(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void convertToDds(QWidget* parent, const platform::Editor& editor) {
  const std::string target = chosenPath(parent, true, "dds Files (*.dds)|*.dds", "Save .DDS format files");
  if (target.empty()) return;  // cancelled: nothing is deleted or written
  platform::processPendingMessages();

  // Everything is checked before the target is touched; it is then replaced
  // in one step, so a failure leaves the old file as it was.
  const DdsResult result = buildDds(editor.view());
  if (const auto* problem = std::get_if<DdsProblem>(&result)) {
    dialogs().message(parent,
                      QStringLiteral("%1 was not written: the texture text in the editor %2.")
                          .arg(pathText(target), systemText(problem->text)),
                      MessageIcon::Warning);
    return;
  }
  if (const auto failure = replaceFile(target, std::get<std::vector<std::uint8_t>>(result))) {
    dialogs().message(parent,
                      QStringLiteral("%1 could not be written (%2). No file was changed.")
                          .arg(pathText(target), systemText(*failure)),
                      MessageIcon::Warning);
  }
}

void viewDds(QWidget* parent, const std::string& strIV, const std::string& programFolder) {
  if (strIV.empty()) {
    dialogs().message(parent, kMissingViewerText, MessageIcon::Warning);
    return;
  }
  const std::string image = chosenPath(parent, false, "DDS Files (*.dds)|*.dds", "View .dds file");
  if (image.empty()) return;  // cancelled: no viewer is started

  // Read strIV once: while the viewer runs, the window stays usable and the
  // user may choose another viewer path.
  const std::string viewer = strIV;
  const std::optional<std::string> command = pipeline::viewerCommand(viewer, image);
  if (!command) {
    const QString text = pipeline::canQuote(viewer)
                             ? QStringLiteral("%1 cannot be shown: its path contains a double quote, which cannot "
                                              "be passed on a command line.")
                                   .arg(pathText(image))
                             : QStringLiteral("The viewer %1 cannot be started: its path contains a double quote, "
                                              "which cannot be passed on a command line.")
                                   .arg(pathText(viewer));
    dialogs().message(parent, text, MessageIcon::Warning);
    return;
  }

  // The viewer is started from the program folder, as the converter is; an
  // absolute viewer path does not depend on it, so a folder that cannot be
  // made current is no reason to stop.
  std::error_code ignored;
  std::filesystem::current_path(programFolder, ignored);
  const double processId = RunAndWait(*command, True, 1);
  platform::processPendingMessages();
  if (processId == 0) {
    dialogs().message(parent,
                      QStringLiteral("The viewer %1 could not be started to show %2. Choose the viewer again "
                                     "with Texture Editor Path in the Options menu.")
                          .arg(pathText(viewer), pathText(image)),
                      MessageIcon::Warning);
  }
}

void chooseViewerPath(QWidget* parent, std::string& strIV) {
  const std::string viewer =
      chosenPath(parent, false, "IrfanView (*.exe)|*.exe", "Select your i_view32.exe file");
  if (!viewer.empty()) strIV = viewer;  // a cancel keeps the old path
}

}  // namespace vantrel::texture
