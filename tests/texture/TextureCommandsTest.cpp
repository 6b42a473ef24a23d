// Convert to DDS, View DDS and Texture Editor Path with a real editor, a
// temporary folder, scripted dialogs and a fake viewer that records how it
// was started.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <QLineEdit>

#include "pipeline/EditorSession.h"
#include "pipeline/operations/DocumentOperations.h"
#include "platform/core/MessagePump.h"
#include "platform/editor/Editor.h"
#include "platform/ui/Dialogs.h"
#include "tests/texture/TextureText.h"
#include "texture/TextureCommands.h"

namespace vantrel::texture {
namespace {

namespace fs = std::filesystem;
using platform::MessageIcon;

const QString kMissingViewer = QStringLiteral(
    "To view DDS files you need to install a suitable Texture viewer (e.g. IrfanView) on your PC \r\n"
    "and select the path from the Options menu.");

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

QString qPath(const fs::path& path) { return QString::fromStdString(path.string()); }

class TextureCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp_.isValid());
    root_ = fs::path(temp_.path().toStdString());
    programFolder_ = root_ / "program";
    fs::create_directories(programFolder_);
    previousFolder_ = fs::current_path();
    platform::setDialogs(&dialogs_);
  }
  void TearDown() override {
    platform::setDialogs(nullptr);
    fs::current_path(previousFolder_);
  }

  std::size_t filesIn(const fs::path& folder) const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }

  // A viewer that writes its folder and its arguments, one a line, beside
  // itself, and ends at once.
  fs::path makeFakeViewer(const std::string& folderName) {
    const fs::path folder = root_ / folderName;
    fs::create_directories(folder);
    const fs::path viewer = folder / "view er.sh";
    writeAll(viewer,
             "#!/bin/sh\n"
             "here=$(dirname \"$0\")\n"
             "pwd > \"$here/cwd.txt\"\n"
             "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$here/args.txt\"\n");
    fs::permissions(viewer, fs::perms::owner_all);
    return viewer;
  }

  QTemporaryDir temp_;
  fs::path root_;
  fs::path programFolder_;
  fs::path previousFolder_;
  platform::ScriptedDialogs dialogs_;
  platform::Editor editor_;
};

TEST_F(TextureCommands, ConvertWritesTheDdsOverALongerFile) {
  const fs::path target = root_ / "my textures" / "out.dds";
  fs::create_directories(target.parent_path());
  writeAll(target, std::string(40000, 'x'));
  editor_.setBytes(testing::textureXml("256", "128", "16384", "0a 1B\r\nFF", true));
  dialogs_.answers.push_back(qPath(target));

  convertToDds(nullptr, editor_);

  ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
  EXPECT_TRUE(dialogs_.fileRequests[0].save);
  EXPECT_EQ(dialogs_.fileRequests[0].filter, "dds Files (*.dds)|*.dds");
  EXPECT_EQ(dialogs_.fileRequests[0].title, "Save .DDS format files");
  EXPECT_TRUE(dialogs_.messages.empty());
  const std::string dds = readAll(target);
  ASSERT_EQ(dds.size(), 16512u);
  EXPECT_EQ(dds.substr(84, 4), "DXT3");
  EXPECT_EQ(dds.substr(128, 4), std::string("\x0A\x1B\xFF\x00", 4));
  EXPECT_EQ(filesIn(target.parent_path()), 1u);
}

TEST_F(TextureCommands, ConvertCancelledWritesAndDeletesNothing) {
  writeAll(root_ / "keep.dds", "old");
  editor_.setBytes(testing::textureXml("4", "4", "16", ""));

  convertToDds(nullptr, editor_);

  EXPECT_EQ(dialogs_.fileRequests.size(), 1u);
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(readAll(root_ / "keep.dds"), "old");
  EXPECT_EQ(filesIn(root_), 2u);  // program/ and keep.dds
}

TEST_F(TextureCommands, ConvertOfABadTextureSaysWhyAndLeavesTheTargetAsItWas) {
  const fs::path target = root_ / "out.dds";
  const std::string previous = "previous .dds content";
  writeAll(target, previous);
  const std::string bad[] = {
      "no texture here",
      testing::textureXml("4", "70000", "16", ""),
      testing::textureXml("4", "4", "1", "00 11"),
      testing::textureXml("4", "4", "16", "00\t11"),
  };
  for (const std::string& text : bad) {
    dialogs_.messages.clear();
    editor_.setBytes(text);
    dialogs_.answers.push_back(qPath(target));
    convertToDds(nullptr, editor_);
    ASSERT_EQ(dialogs_.messages.size(), 1u) << text;
    EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(dialogs_.messages[0].text.startsWith(qPath(target) + " was not written: the texture text"))
        << dialogs_.messages[0].text.toStdString();
    EXPECT_EQ(readAll(target), previous) << text;
  }
  EXPECT_TRUE(dialogs_.messages[0].text.contains("which is no hexadecimal digit"));
  EXPECT_EQ(filesIn(root_), 2u);
}

TEST_F(TextureCommands, ConvertReportsATargetThatCannotBeWritten) {
  editor_.setBytes(testing::textureXml("4", "4", "16", ""));
  dialogs_.answers.push_back(qPath(root_ / "missing folder" / "out.dds"));

  convertToDds(nullptr, editor_);

  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_TRUE(dialogs_.messages[0].text.contains("could not be written"));
  EXPECT_FALSE(fs::exists(root_ / "missing folder"));
}

TEST_F(TextureCommands, ViewWithoutAViewerOnlyShowsTheHint) {
  viewDds(nullptr, "", programFolder_.string());
  EXPECT_TRUE(dialogs_.fileRequests.empty());
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, kMissingViewer);
  EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::Warning);
}

#ifndef _WIN32
TEST_F(TextureCommands, ViewStartsTheViewerFromTheProgramFolderWithTheQuotedImage) {
  const fs::path viewer = makeFakeViewer("my viewer");
  const fs::path image = root_ / "my images" / "a b.dds";
  dialogs_.answers.push_back(qPath(image));

  viewDds(nullptr, viewer.string(), programFolder_.string());

  ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
  EXPECT_FALSE(dialogs_.fileRequests[0].save);
  EXPECT_EQ(dialogs_.fileRequests[0].filter, "DDS Files (*.dds)|*.dds");
  EXPECT_EQ(dialogs_.fileRequests[0].title, "View .dds file");
  EXPECT_TRUE(dialogs_.messages.empty());
  // viewDds returns only after the viewer has ended, so its files are there.
  EXPECT_EQ(readAll(viewer.parent_path() / "args.txt"), image.string() + "\n");
  EXPECT_EQ(readAll(viewer.parent_path() / "cwd.txt"), programFolder_.string() + "\n");
}

TEST_F(TextureCommands, ViewCancelledStartsNoViewer) {
  const fs::path viewer = makeFakeViewer("viewer");
  viewDds(nullptr, viewer.string(), programFolder_.string());
  EXPECT_EQ(dialogs_.fileRequests.size(), 1u);
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_FALSE(fs::exists(viewer.parent_path() / "args.txt"));
}

TEST_F(TextureCommands, ViewRefusesAPathWithADoubleQuote) {
  const fs::path viewer = makeFakeViewer("viewer");
  dialogs_.answers.push_back(qPath(root_ / "a\"b.dds"));
  viewDds(nullptr, viewer.string(), programFolder_.string());
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_TRUE(dialogs_.messages[0].text.contains("contains a double quote"));
  EXPECT_FALSE(fs::exists(viewer.parent_path() / "args.txt"));
}

TEST_F(TextureCommands, ViewReportsAViewerThatCannotBeStarted) {
  dialogs_.answers.push_back(qPath(root_ / "a.dds"));
  const fs::path missing = root_ / "gone" / "i_view32";
  viewDds(nullptr, missing.string(), programFolder_.string());
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_TRUE(dialogs_.messages[0].text.startsWith("The viewer " + qPath(missing) + " could not be started"));
}
#endif

TEST_F(TextureCommands, ViewerPathIsTakenFromTheDialogAndKeptOnCancel) {
  std::string strIV = "/old/viewer";
  dialogs_.answers.push_back(qPath(root_ / "new viewer.exe"));
  chooseViewerPath(nullptr, strIV);
  EXPECT_EQ(strIV, (root_ / "new viewer.exe").string());
  ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
  EXPECT_FALSE(dialogs_.fileRequests[0].save);
  EXPECT_EQ(dialogs_.fileRequests[0].filter, "IrfanView (*.exe)|*.exe");
  EXPECT_EQ(dialogs_.fileRequests[0].title, "Select your i_view32.exe file");

  chooseViewerPath(nullptr, strIV);
  EXPECT_EQ(strIV, (root_ / "new viewer.exe").string());
}

#ifndef _WIN32
// A texture binary opened with "View other Vantrel files" and converted in
// the editor gives the same .dds as serz and texture2dds on the command line.
TEST_F(TextureCommands, EditorAndCommandLineMakeTheSameDdsFromATextureBinary) {
  std::vector<std::uint8_t> data(2048);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 31 + 7);
  std::string xml = testing::textureXml("64", "32", "2048", testing::blobHex(data), true);
  xml.replace(xml.find("<cRecordSet>"), 12,
              "<cRecordSet xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\">");
  writeAll(root_ / "source.xml", xml);
  const fs::path binary = root_ / "texture.bin";
  auto run = [](const std::string& command) { return std::system(command.c_str()); };
  ASSERT_EQ(run("\"" SERZ_PATH "\" \"" + (root_ / "source.xml").string() + "\" bin:\"" + binary.string() + "\""), 0);

  // Command line: serz to XML, texture2dds to .dds.
  const fs::path viaXml = root_ / "cli.xml";
  ASSERT_EQ(run("\"" SERZ_PATH "\" \"" + binary.string() + "\" xml:\"" + viaXml.string() + "\""), 0);
  ASSERT_EQ(run("\"" TEXTURE2DDS_PATH "\" \"" + viaXml.string() + "\" \"" + (root_ / "cli.dds").string() + "\""), 0);

  // Editor: View other Vantrel files with serz in the program folder, then Convert to DDS.
  fs::create_directories(programFolder_ / "TempFiles");
  fs::create_symlink(SERZ_PATH, programFolder_ / "serz");
  QLineEdit pathBox;
  EditorSession session;
  pipeline::DocumentContext context;
  context.pathBox = &pathBox;
  context.editor = &editor_;
  context.session = &session;
  context.programFolder = programFolder_.string();
  dialogs_.answers.push_back(qPath(binary));
  pipeline::viewOtherFiles(context);
  ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text.toStdString();
  dialogs_.answers.push_back(qPath(root_ / "editor.dds"));
  convertToDds(nullptr, editor_);
  ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text.toStdString();

  const std::string dds = readAll(root_ / "editor.dds");
  EXPECT_EQ(dds, readAll(root_ / "cli.dds"));
  ASSERT_EQ(dds.size(), 128u + data.size());
  EXPECT_EQ(dds.substr(84, 4), "DXT3");
  EXPECT_EQ(dds.substr(128), std::string(data.begin(), data.end()));
}
#endif

}  // namespace
}  // namespace vantrel::texture

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  vantrel::platform::setMessagePump([] { QCoreApplication::processEvents(); });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
