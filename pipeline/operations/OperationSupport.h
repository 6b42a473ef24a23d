#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "pipeline/operations/DocumentOperations.h"
#include "platform/core/RunProgram.h"
#include "platform/window/Dialogs.h"

// Pieces every document command shares: the working folder's paths, the
// busy state around a conversion, running the converter, and messages.
namespace vantrel::pipeline::detail {

// programFolder + sep + "TempFiles" (+ sep + name).
std::string workingFolder(const DocumentContext& ctx);
std::string workingPath(const DocumentContext& ctx, std::string_view name);

// Marks the window busy converting fileName for its lifetime, so every
// return path ends it.
class BusyGuard {
 public:
  BusyGuard(DocumentContext& ctx, std::string fileName);
  ~BusyGuard();
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  DocumentContext& ctx_;
  std::string fileName_;
};

// Makes the program folder current (so the bare converter name is found
// there), runs commandLine hidden with message pumping, waits, then
// processes pending messages once. The user may stop it meanwhile
// (ctx.keepConverting): the result then says stopped.
platform::RunResult runConverter(const DocumentContext& ctx, const std::string& commandLine);

// Why a conversion failed, to follow "NAME could not be read: ": the
// converter's first line on standard error, or what else is known (it
// could not be started, its exit status, the output it did not write).
std::string conversionFailureReason(const DocumentContext& ctx, const platform::RunResult& outcome,
                                    std::string_view missingOutput);

// The message for a document larger than the editor holds
// (Editor::kLargestDocument), refused before anything is loaded.
std::string tooLargeText(const std::string& chosenPath, std::uint64_t size);

// Deletes a leftover file so that a failed conversion cannot show or reuse
// it. True when nothing is there afterwards; otherwise errorText says why.
bool removeStaleFile(const std::string& path, std::string& errorText);

// Open .bin and View other files: an open dialog starting in the
// simulator's folder; its result goes into the path box at once, also when
// it is empty (a cancel). Returns the result.
std::string chooseSimulatorFileIntoPathBox(const DocumentContext& ctx, const std::string& filter,
                                           const std::string& title);

void showMessage(const DocumentContext& ctx, const std::string& text, platform::MessageIcon icon);

}  // namespace vantrel::pipeline::detail
