// Convert to DDS, View DDS and Texture Editor Path with a real editor,
// scripted dialogs, a temporary folder and a fake viewer that records how it
// was started.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "pipeline/operations/DocumentOperations.h"
#include "platform/editor/Editor.h"
#include "platform/window/Dialogs.h"
#include "platform/window/TextField.h"
#include "tests/support/TestEditor.h"
#include "tests/texture/TextureText.h"
#include "texture/TextureCommands.h"

namespace vantrel::texture {
namespace {

namespace fs = std::filesystem;
using testing::readAll;

std::string q(const fs::path& path) { return path.string(); }

[[maybe_unused]] bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}
bool startsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

class TextureCommands : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(program_); }
  void TearDown() override {
    fs::current_path(cwd_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  // A script that writes its working folder and its arguments, one a line.
  std::string fakeViewer() {
    fs::create_directories(root_ / "my viewer");
    std::ofstream(root_ / "my viewer" / "view.sh")
        << "#!/bin/sh\n{ pwd; printf '%s\\n' \"$@\"; } > \"$(dirname \"$0\")/ran.txt\"\n";
    fs::permissions(root_ / "my viewer" / "view.sh", fs::perms::owner_all);
    return (root_ / "my viewer" / "view.sh").string();
  }

  fs::path root_{fs::temp_directory_path() /
                 ("vantrel-texture-" + std::to_string(std::random_device()()))};
  fs::path program_{root_ / "program"};
  fs::path cwd_{fs::current_path()};
  platform::ScriptedDialogs dialogs_;
  std::unique_ptr<vantrel::testing::TestEditor> control_ = vantrel::testing::makeTestEditor();
  platform::Editor& editor_ = control_->editor();
};

TEST_F(TextureCommands, ConvertReplacesALongerTargetThroughTheSaveDialog) {
  std::ofstream(root_ / "out.dds") << std::string(40000, 'x');
  editor_.setBytes(testing::textureXml("256", "128", "16384", "0a 1B\r\nFF", true));
  dialogs_.answers = {q(root_ / "out.dds")};
  convertToDds(dialogs_, editor_);

  ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
  EXPECT_TRUE(dialogs_.fileRequests[0].save);
  EXPECT_EQ(dialogs_.fileRequests[0].filter + dialogs_.fileRequests[0].title,
            "dds Files (*.dds)|*.ddsSave .DDS format files");
  const std::string dds = readAll(root_ / "out.dds");
  EXPECT_EQ(dds.size(), 16512u);
  EXPECT_EQ(dds.substr(84, 4) + dds.substr(128, 4), std::string("DXT3\x0A\x1B\xFF\x00", 8));
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(TextureCommands, ConvertCancelledOrRefusedLeavesTheTargetAsItWas) {
  std::ofstream(root_ / "out.dds") << "old";
  editor_.setBytes(testing::textureXml("4", "4", "16", ""));
  convertToDds(dialogs_, editor_);  // cancelled
  EXPECT_TRUE(dialogs_.messages.empty());

  dialogs_.answers = {q(root_ / "no folder" / "out.dds")};
  convertToDds(dialogs_, editor_);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_TRUE(startsWith(dialogs_.messages[0].text,
                         q(root_ / "no folder" / "out.dds") + " could not be written ("));

  // A text that is no texture is said to be so before any name is asked.
  dialogs_.messages.clear();
  dialogs_.fileRequests.clear();
  for (const std::string& text :
       {testing::textureXml("4", "70000", "16", ""), std::string("<cRecordSet/>")}) {
    editor_.setBytes(text);
    convertToDds(dialogs_, editor_);
  }
  EXPECT_TRUE(dialogs_.fileRequests.empty());
  ASSERT_EQ(dialogs_.messages.size(), 2u);
  EXPECT_EQ(dialogs_.messages[0].text,
            "No .dds file was made: the texture text in the editor gives the height 70000, outside "
            "0 to 32767.");
  EXPECT_EQ(dialogs_.messages[0].icon, platform::MessageIcon::Warning);
  EXPECT_TRUE(startsWith(dialogs_.messages[1].text,
                         "No .dds file was made: the texture text in the editor "));
  EXPECT_EQ(readAll(root_ / "out.dds"), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 2);
}

TEST_F(TextureCommands, ViewWithoutAViewerOnlyShowsTheHint) {
  viewDds(dialogs_, "", program_.string());
  EXPECT_TRUE(dialogs_.fileRequests.empty());
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text,
            "To view DDS files you need to install a suitable Texture viewer (e.g. IrfanView) on "
            "your PC \r\n"
            "and select the path from the Options menu.");
}

#ifndef _WIN32
TEST_F(TextureCommands, ViewStartsTheViewerInTheProgramFolderWithTheImageAsOneArgument) {
  dialogs_.answers = {q(root_ / "my images" / "a b.dds")};
  viewDds(dialogs_, fakeViewer(), program_.string());  // returns when the viewer has ended
  EXPECT_EQ(readAll(root_ / "my viewer" / "ran.txt"),
            program_.string() + "\n" + (root_ / "my images" / "a b.dds").string() + "\n");
  EXPECT_EQ(dialogs_.fileRequests[0].filter + dialogs_.fileRequests[0].title,
            "DDS Files (*.dds)|*.ddsView .dds file");
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(TextureCommands, ViewStartsNoViewerOnCancelOrAQuoteAndReportsOneThatWillNotStart) {
  const std::string viewer = fakeViewer();
  viewDds(dialogs_, viewer, program_.string());
  dialogs_.answers = {q(root_ / "a\"b.dds"), q(root_ / "a.dds")};
  viewDds(dialogs_, viewer, program_.string());
  EXPECT_FALSE(fs::exists(root_ / "my viewer" / "ran.txt"));
  viewDds(dialogs_, (root_ / "gone").string(), program_.string());
  ASSERT_EQ(dialogs_.messages.size(), 2u);
  EXPECT_TRUE(contains(dialogs_.messages[0].text, "its path contains a double quote"));
  EXPECT_TRUE(startsWith(dialogs_.messages[1].text,
                         "The viewer " + q(root_ / "gone") + " could not be started"));
}

// A texture binary opened with "View other Vantrel files" and converted in
// the editor gives the same .dds as serz and texture2dds on the command line.
TEST_F(TextureCommands, EditorAndCommandLineMakeTheSameDdsFromATextureBinary) {
  std::vector<std::uint8_t> data(2048);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 31 + 7);
  std::ofstream(root_ / "in.xml", std::ios::binary)
      << testing::textureXml("64", "32", "2048", testing::blobHex(data));
  const auto run = [&](const std::string& program, const std::string& a, const std::string& b) {
    return std::system(
        (testing::quoted(program) + " " + testing::quoted((root_ / a).string()) + " " + b).c_str());
  };
  ASSERT_EQ(run(SERZ_PATH, "in.xml", "bin:" + testing::quoted((root_ / "t.bin").string())), 0);
  ASSERT_EQ(run(SERZ_PATH, "t.bin", "xml:" + testing::quoted((root_ / "t.xml").string())), 0);
  ASSERT_EQ(run(TEXTURE2DDS_PATH, "t.xml", testing::quoted((root_ / "cli.dds").string())), 0);

  fs::create_directories(program_ / "TempFiles");
  fs::create_symlink(SERZ_PATH, program_ / "serz");
  platform::PlainTextField pathBox;
  pipeline::Document document;
  pipeline::DocumentContext context{&dialogs_,         &pathBox, &editor_, &document,
                                    program_.string(), {},       {},       {}};
  dialogs_.answers = {q(root_ / "t.bin"), q(root_ / "editor.dds")};
  pipeline::viewOtherFiles(context);
  convertToDds(dialogs_, editor_);

  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(readAll(root_ / "editor.dds"), readAll(root_ / "cli.dds"));
  EXPECT_EQ(readAll(root_ / "cli.dds").substr(128), std::string(data.begin(), data.end()));
}
#endif

TEST_F(TextureCommands, ViewerPathComesFromTheDialogAndACancelKeepsIt) {
  const std::string viewer = fakeViewer();
  std::string strIV = "/old/viewer";
  dialogs_.answers = {viewer};
  chooseViewerPath(dialogs_, strIV);
  chooseViewerPath(dialogs_, strIV);  // cancelled
  EXPECT_EQ(strIV, viewer);
#ifdef _WIN32
  EXPECT_EQ(dialogs_.fileRequests[1].filter + dialogs_.fileRequests[1].title,
            "IrfanView (*.exe)|*.exeSelect your i_view32.exe file");
#else
  // Programs have no extension here: every file is shown, and one that
  // cannot be started is refused with a message.
  EXPECT_EQ(dialogs_.fileRequests[1].filter + dialogs_.fileRequests[1].title,
            "All files (*)|*Select your i_view32.exe file");
  std::ofstream(root_ / "picture.png") << "png";
  dialogs_.answers = {q(root_ / "picture.png")};
  chooseViewerPath(dialogs_, strIV);
  EXPECT_EQ(strIV, viewer);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_TRUE(
      contains(dialogs_.messages[0].text, "picture.png is not a program that can be started"));
#endif
}

}  // namespace
}  // namespace vantrel::texture
