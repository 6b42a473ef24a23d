#include "tests/pipeline/PipelineFixture.h"

#include <fstream>
#include <random>

#include "platform/ui/ProgramFolder.h"

namespace vantrel::testing {

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void PipelineFixture::SetUp() {
  originalCwd_ = fs::current_path();
  std::random_device random;
  root_ = fs::temp_directory_path() / ("vantrel-pipeline-" + std::to_string(random()));
  programFolder_ = root_ / "program folder";
  userFolder_ = root_ / "user files";
  fs::create_directories(programFolder_ / "TempFiles");
  fs::create_directories(userFolder_);
  platform::setProgramFolderForTests(programFolder_.string());
  platform::setDialogs(&dialogs_);
  ctx_ = {nullptr, &pathBox_, &editor_, &session_, programFolder_.string(),
          [this](bool busy) { busyCalls_.push_back(busy); }};
}

void PipelineFixture::TearDown() {
  platform::setDialogs(nullptr);
  platform::setProgramFolderForTests("");
  fs::current_path(originalCwd_);
  // Tests make folders read-only; give the rights back so cleanup works.
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root_, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
  }
  fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, error);
  fs::remove_all(root_, error);
}

void PipelineFixture::installFakeConverter(const std::string& scriptBody) {
  const fs::path script = programFolder_ / "serz";
  writeBytes(script, "#!/bin/sh\n" + scriptBody);
  fs::permissions(script, fs::perms::owner_all);
}

void PipelineFixture::installCopyingConverter() {
  installFakeConverter("cp \"$1\" \"${2#*:}\"\n");
}

void PipelineFixture::installFailingConverter() {
  installFakeConverter("echo \"$1: line 3, column 7: unexpected end of element\" >&2\nexit 1\n");
}

bool PipelineFixture::installRealConverter() {
  const fs::path serz = VANTREL_SERZ_PATH;
  if (!fs::exists(serz)) return false;
  fs::create_symlink(serz, programFolder_ / "serz");
  return true;
}

std::string PipelineFixture::working(const std::string& name) const {
  return (programFolder_ / "TempFiles" / name).string();
}

std::string PipelineFixture::user(const std::string& name) const {
  return (userFolder_ / name).string();
}

std::vector<QString> PipelineFixture::messageTexts() const {
  std::vector<QString> texts;
  for (const auto& message : dialogs_.messages) texts.push_back(message.text);
  return texts;
}

}  // namespace vantrel::testing
