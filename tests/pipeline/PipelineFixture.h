#pragma once
#include <gtest/gtest.h>

#include <QLineEdit>
#include <filesystem>
#include <string>
#include <vector>

#include "pipeline/EditorSession.h"
#include "pipeline/operations/DocumentOperations.h"
#include "platform/editor/Editor.h"
#include "platform/ui/Dialogs.h"

namespace vantrel::testing {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path);
void writeBytes(const fs::path& path, std::string_view bytes);

// A temporary program folder with TempFiles, a user folder beside it,
// scripted dialogs, real widgets and a context wired to them.
class PipelineFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A converter script named serz in the program folder.
  void installFakeConverter(const std::string& scriptBody);
  // Copies the converter: one that copies input to output either way.
  void installCopyingConverter();
  // One that refuses every input with a line on standard error.
  void installFailingConverter();
  // The real serz; false when it was not built.
  bool installRealConverter();

  std::string working(const std::string& name) const;
  std::string user(const std::string& name) const;
  std::vector<QString> messageTexts() const;

  fs::path root_;
  fs::path programFolder_;
  fs::path userFolder_;
  fs::path originalCwd_;
  platform::ScriptedDialogs dialogs_;
  QLineEdit pathBox_;
  platform::Editor editor_;
  EditorSession session_;
  std::vector<bool> busyCalls_;
  pipeline::DocumentContext ctx_;
};

}  // namespace vantrel::testing
