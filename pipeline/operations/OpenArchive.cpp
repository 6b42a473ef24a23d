#include "pipeline/operations/OpenArchive.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "archive/Archive.h"
#include "archive/MemberPath.h"
#include "archive/MemberPicker.h"
#include "pipeline/WorkingNames.h"
#include "pipeline/operations/OperationSupport.h"
#include "platform/core/Paths.h"
#include "platform/core/WideText.h"
#include "platform/window/Dialogs.h"
#include "platform/window/TextField.h"

namespace vantrel::pipeline::detail {

namespace {

namespace fs = std::filesystem;

Outcome refuse(DocumentContext& ctx, const SessionSnapshot& before, const std::string& text) {
  before.restore(ctx);
  showMessage(ctx, text, platform::MessageIcon::Warning);
  return Outcome::failed();
}

// The member's bytes go into a folder of their own in TempFiles, under the
// member's own name (the converter sees the name a loose file would have),
// so they can never meet the working XML.
std::string extractionPath(const DocumentContext& ctx, const std::string& memberName) {
  return platform::joinPath(workingPath(ctx, "Packed"), memberName);
}

void removeExtraction(const std::string& path) {
  std::error_code ignored;
  const fs::path file = platform::pathFromUtf8(path);
  fs::remove(file, ignored);
  fs::remove(file.parent_path(), ignored);  // only when empty
}

// Takes the chosen member out and converts it into the editor.
Outcome openMember(DocumentContext& ctx, archive::Archive& packed, const std::string& archivePath,
                   const archive::Member& member, const SessionSnapshot& before) {
  const std::string archiveName = fileNameOf(archivePath);
  const std::optional<std::string> loose = archive::looseFileFor(archivePath, member.path);
  const std::optional<std::string> xmlName = loose ? workingXmlName(*loose) : std::nullopt;
  if (!xmlName) {
    return refuse(ctx, before,
                  member.path + " in " + archiveName +
                      " was not opened: its name cannot be a file's name here.");
  }

  BusyGuard busy(ctx, fileNameOf(*loose));
  const std::string extracted = extractionPath(ctx, fileNameOf(*loose));
  std::error_code error;
  fs::create_directories(platform::pathFromUtf8(extracted).parent_path(), error);
  if (error) {
    return refuse(ctx, before,
                  member.path + " in " + archiveName + " was not opened: the folder " +
                      workingPath(ctx, "Packed") + " could not be made (" + error.message() + ").");
  }
  if (const auto problem = packed.extractMember(member.index, extracted)) {
    removeExtraction(extracted);
    return refuse(ctx, before, member.path + " in " + archiveName + " was not opened: " + *problem);
  }
  ctx.pathBox->setText(*loose);
  ctx.document->beginMemberOpen(*xmlName, archivePath);
  const ConvertOutcome outcome =
      convertIntoEditor(ctx, extracted, workingPath(ctx, *xmlName), *loose);
  removeExtraction(extracted);
  return finishOpen(ctx, outcome, before, *loose);
}

}  // namespace

Outcome openArchive(DocumentContext& ctx, const std::string& archivePath,
                    const SessionSnapshot& before) {
  archive::Archive packed;
  if (const auto problem = packed.open(archivePath)) return refuse(ctx, before, *problem);
  const std::string archiveName = fileNameOf(archivePath);
  if (packed.members().empty()) {
    return refuse(ctx, before,
                  archiveName +
                      " holds no file the editor can open: none of its members is in the "
                      "simulator's binary format.");
  }
  archive::MemberPicker picker(packed.members());
  if (!ctx.dialogs->pickMember("Open from " + archiveName, picker) || !picker.selectedMember()) {
    before.restore(ctx);
    return Outcome::cancelled();
  }
  const archive::Member member = *picker.selectedMember();
  return openMember(ctx, packed, archivePath, member, before);
}

Outcome openArchiveMember(DocumentContext& ctx, const std::string& archivePath,
                          const std::string& memberPath, const SessionSnapshot& before) {
  archive::Archive packed;
  if (const auto problem = packed.open(archivePath)) return refuse(ctx, before, *problem);
  for (const archive::Member& member : packed.members()) {
    if (member.path == memberPath) return openMember(ctx, packed, archivePath, member, before);
  }
  return refuse(ctx, before,
                memberPath + " was not opened: " + fileNameOf(archivePath) +
                    " no longer holds it as a file the editor can open.");
}

}  // namespace vantrel::pipeline::detail
