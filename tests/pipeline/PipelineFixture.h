#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "pipeline/operations/DocumentOperations.h"
#include "pipeline/operations/WrittenBinCheck.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/WideText.h"
#include "platform/editor/Editor.h"
#include "platform/window/Dialogs.h"
#include "platform/window/TextField.h"
#include "tests/support/TestEditor.h"

namespace vantrel::testing {

namespace fs = std::filesystem;

inline std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

inline bool endsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

inline void writeBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The program's paths are UTF-8 strings; std::filesystem takes a std::string
// in the system's code page on Windows, so names beyond ASCII go through
// these.
inline std::string readBytes(const std::string& utf8Path) {
  return readBytes(platform::pathFromUtf8(utf8Path));
}
inline std::string readBytes(const char* utf8Path) { return readBytes(std::string(utf8Path)); }
inline void writeBytes(const std::string& utf8Path, std::string_view bytes) {
  writeBytes(platform::pathFromUtf8(utf8Path), bytes);
}
inline void writeBytes(const char* utf8Path, std::string_view bytes) {
  writeBytes(std::string(utf8Path), bytes);
}
inline bool exists(const std::string& utf8Path) {
  return fs::exists(platform::pathFromUtf8(utf8Path));
}

// A temporary program folder with TempFiles, a user folder beside it,
// scripted dialogs, real widgets and a context wired to them.
class PipelineFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    cwd_ = fs::current_path();
    root_ =
        fs::temp_directory_path() / ("vantrel-pipeline-" + std::to_string(std::random_device()()));
    program_ = root_ / "program folder";
    userFolder_ = root_ / "user files";
    fs::create_directories(program_ / "TempFiles");
    fs::create_directories(userFolder_);
    platform::setProgramFolderForTests(program_.string());
    // The copying converters write "SERZ" and the text, not a real .bin.
    pipeline::setBinCheckForTests(startsLikeABin);
    ctx_ = {&dialogs_,
            &pathBox_,
            &editor_,
            &document_,
            program_.string(),
            [this](bool busy, const std::string&) { busy_.push_back(busy); },
            {},
            {}};
  }
  void TearDown() override {
    platform::setProgramFolderForTests("");
    pipeline::setBinCheckForTests(nullptr);
    fs::current_path(cwd_);
    std::error_code error;  // give back the rights tests took away
    for (fs::recursive_directory_iterator it(root_, error), end; !error && it != end;
         it.increment(error))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(root_, error);
  }

  static std::optional<std::string> startsLikeABin(const std::string& path) {
    if (readBytes(path).compare(0, 4, "SERZ") == 0) return std::nullopt;
    return std::string("does not start with SERZ");
  }

  // A converter script named serz in the program folder. The default one
  // copies its input to its output, adding the format's "SERZ" mark on the
  // way to a .bin and dropping it on the way back.
  static constexpr const char* kCopyingConverter =
      "case \"$2\" in\n"
      "  bin:*) { printf SERZ; cat \"$1\"; } > \"${2#bin:}\" ;;\n"
      "  *) if [ \"$(head -c 4 \"$1\")\" = SERZ ]; then tail -c +5 \"$1\"; else cat \"$1\"; fi > "
      "\"${2#xml:}\" ;;\n"
      "esac\n";
#ifdef _WIN32
  // No shell runs scripts here: the copying converter is a program that
  // does the same (tests/support/StandInSerz.cpp, PROGRAMS stand_in_serz).
  // Tests that need other scripts are Linux-only.
#ifdef STAND_IN_SERZ_PATH
  void installConverter() {
    fs::copy_file(STAND_IN_SERZ_PATH, program_ / "serz.exe", fs::copy_options::overwrite_existing);
  }
#endif
#else
  void installConverter(const std::string& body = kCopyingConverter) {
    writeBytes(program_ / "serz", "#!/bin/sh\n" + body);
    fs::permissions(program_ / "serz", fs::perms::owner_all);
  }
#endif
#ifdef SERZ_PATH
  // The real converter, as the program folder holds it.
  void installRealConverter() {
#ifdef _WIN32
    fs::copy_file(SERZ_PATH, program_ / "serz.exe", fs::copy_options::overwrite_existing);
#else
    fs::create_symlink(SERZ_PATH, program_ / "serz");
#endif
  }
#endif
  // A file of ../shared/fixtures (reached through drive Z: under Wine).
  static fs::path sharedFixture(const std::string& relative) {
    std::string shared = VANTREL_SHARED_DIR;
#ifdef _WIN32
    if (!shared.empty() && shared.front() == '/') shared = "Z:" + shared;
#endif
    return fs::path(shared) / "fixtures" / relative;
  }
  // Chooses path in the next file dialog.
  void choose(const std::string& path) { dialogs_.answers.push_back(path); }
  std::string working(const std::string& name) const {
    return platform::utf8FromPath(program_ / "TempFiles" / platform::pathFromUtf8(name));
  }
  std::string user(const std::string& name) const {
    return platform::utf8FromPath(userFolder_ / platform::pathFromUtf8(name));
  }
  // File dialog request i as "open|title|filter|start folder" (or "save|...").
  std::string request(std::size_t i) const {
    const auto& r = dialogs_.fileRequests.at(i);
    return (r.save ? "save|" : "open|") + r.title + '|' + r.filter + '|' + r.startFolder;
  }
  const platform::ScriptedDialogs::Message& onlyMessage() {
    EXPECT_EQ(dialogs_.messages.size(), 1u);
    if (dialogs_.messages.empty())
      dialogs_.messages.push_back({"(no message)", platform::MessageIcon::Information});
    return dialogs_.messages.front();
  }

  fs::path cwd_, root_, program_, userFolder_;
  platform::ScriptedDialogs dialogs_;
  platform::PlainTextField pathBox_;
  std::unique_ptr<TestEditor> control_ = makeTestEditor();
  platform::Editor& editor_ = control_->editor();
  pipeline::Document document_;
  std::vector<bool> busy_;
  pipeline::DocumentContext ctx_;
};

}  // namespace vantrel::testing
