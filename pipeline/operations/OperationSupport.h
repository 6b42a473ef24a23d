#pragma once
#include <QString>
#include <string>
#include <string_view>

#include "pipeline/operations/DocumentOperations.h"
#include "pipeline/myfile.h"
#include "platform/ui/Dialogs.h"

// Pieces every document command shares: the working folder's paths, the
// busy state around a conversion, running the converter, and messages.
namespace vantrel::pipeline::detail {

// programFolder + sep + "TempFiles" (+ sep + name).
std::string workingFolder(const DocumentContext& ctx);
std::string workingPath(const DocumentContext& ctx, std::string_view name);

// Marks the window busy for its lifetime, so every return path ends it.
class BusyGuard {
 public:
  explicit BusyGuard(DocumentContext& ctx);
  ~BusyGuard();
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  DocumentContext& ctx_;
};

// Makes the program folder current (so the bare converter name is found
// there), runs commandLine hidden with message pumping, waits, then
// processes pending messages once.
RunOutcome runConverter(const DocumentContext& ctx, const std::string& commandLine);

// Why a conversion left no output, for a message: the converter's first
// line on standard error, or what else is known.
QString conversionFailureReason(const DocumentContext& ctx, const RunOutcome& outcome,
                                std::string_view missingOutput);

// Deletes a leftover file so that a failed conversion cannot show or reuse
// it. True when nothing is there afterwards; otherwise errorText says why.
bool removeStaleFile(const std::string& path, std::string& errorText);

// Open .bin and View other files: an open dialog starting in the
// simulator's folder; its result goes into the path box at once, also when
// it is empty (a cancel). Returns the result.
QString chooseSimulatorFileIntoPathBox(const DocumentContext& ctx, const QString& filter,
                                       const QString& title);

// Path bytes and system texts as message text.
QString pathText(std::string_view nativePath);
QString systemText(std::string_view text);

void showMessage(const DocumentContext& ctx, const QString& text, platform::MessageIcon icon);

}  // namespace vantrel::pipeline::detail
