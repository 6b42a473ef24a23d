// The Tools menu's texture commands through the main window's logic, on a
// real editor control with scripted dialogs: export and import of DDS and
// PNG files, the format question, refusals that leave the text and its undo
// history alone, and the messages for text that is no texture.
#include <gtest/gtest.h>

#include <variant>

#include "converter/Codec.h"
#include "shell/MainWindowLogic.h"
#include "tests/pipeline/PipelineFixture.h"
#include "tests/texture/TextureLevelsText.h"
#include "texture/DdsFile.h"
#include "texture/TextureExport.h"
#include "texture/TextureLevels.h"

namespace vantrel::testing {
namespace {

using platform::Answer;
using texture::BlockFormat;

struct QuietFrame : shell::WindowFrame {
  std::vector<std::string> statuses;
  int previewShown = 0;
  void setBusy(bool) override {}
  void closeWindow() override {}
  void setTitle(const std::string&) override {}
  void showStatus(const std::string& text) override { statuses.push_back(text); }
  void focusEditor() override {}
  void showTexturePreview() override { ++previewShown; }
  void showFindInFiles() override {}
};

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

class TextureToolsTest : public PipelineFixture {
 protected:
  void SetUp() override {
    PipelineFixture::SetUp();
    shell::MainWindowParts parts;
    parts.editor = &editor_;
    parts.pathBox = &pathBox_;
    parts.findBox = &findBox_;
    parts.replaceBox = &replaceBox_;
    parts.wholeWordChecked = [] { return false; };
    parts.dialogs = &dialogs_;
    parts.frame = &frame_;
    logic_ = std::make_unique<shell::MainWindowLogic>(program_.string(), parts);
  }
  // The XML of a real texture of the shared fixtures; "" when absent.
  std::string realTexture(const std::string& name) {
    const std::string binary = readBytes(sharedFixture("real/" + name).string());
    if (binary.empty()) return {};
    auto xml = serz::binToXml(binary);
    EXPECT_TRUE(xml.ok()) << name;
    return xml.ok() ? xml.value() : std::string();
  }
  std::size_t levelCount(std::string_view text) {
    const auto levels = texture::readTextureLevels(text);
    const auto* read = std::get_if<texture::TextureLevels>(&levels);
    return read ? read->levels.size() : 0;
  }

  QuietFrame frame_;
  platform::PlainTextField findBox_, replaceBox_;
  std::unique_ptr<shell::MainWindowLogic> logic_;
};

TEST_F(TextureToolsTest, TextThatIsNoTextureIsSaidToBeSo) {
  editor_.setBytes("<cRecordSet/>");
  for (void (shell::MainWindowLogic::*command)() :
       {&shell::MainWindowLogic::showTexturePreview, &shell::MainWindowLogic::exportDds,
        &shell::MainWindowLogic::exportPng, &shell::MainWindowLogic::importDds,
        &shell::MainWindowLogic::importPng}) {
    dialogs_.messages.clear();
    (logic_.get()->*command)();
    EXPECT_EQ(onlyMessage().text, shell::kNoTextureMessage);
  }
  EXPECT_TRUE(dialogs_.fileRequests.empty());
  EXPECT_EQ(frame_.previewShown, 0);
  EXPECT_FALSE(logic_->texturePreview().isOpen());
}

// Every level out and the file straight back in: the core reads the .dds
// with all its levels, and the text comes back byte for byte.
TEST_F(TextureToolsTest, RealTexturesGoOutAsDdsAndBackUnchanged) {
  for (const char* name : {"philadelphia.TgPcDx", "WheelCompleteMap.TgPcDx"}) {
    SCOPED_TRACE(name);
    const std::string xml = realTexture(name);
    if (xml.empty()) GTEST_SKIP() << sharedFixture("real").string() << " has no " << name;
    editor_.setBytes(xml);
    const std::string dds = user(std::string(name) + ".dds");
    choose(dds);
    logic_->exportDds();
    ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text;
    EXPECT_EQ(dialogs_.fileRequests.back().filter, "DDS files (*.dds)|*.dds");
    EXPECT_TRUE(dialogs_.fileRequests.back().save);
    const auto read = texture::readDds(bytesOf(readBytes(dds)));
    ASSERT_TRUE(std::holds_alternative<texture::DdsTexture>(read));
    EXPECT_EQ(std::get<texture::DdsTexture>(read).levels.size(), levelCount(xml));
    ASSERT_FALSE(frame_.statuses.empty());
    EXPECT_EQ(frame_.statuses.back(), "Exported " + std::to_string(levelCount(xml)) +
                                          " levels to " + std::string(name) + ".dds");

    choose(dds);
    logic_->importDds();
    ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text;
    EXPECT_TRUE(dialogs_.questions.empty());
    EXPECT_TRUE(editor_.bytes() == xml) << "the text changed";
  }
}

TEST_F(TextureToolsTest, DialogsStartBesideTheDocumentAndNameTheFileAfterIt) {
#ifdef SERZ_PATH
  const std::string binary = readBytes(sharedFixture("real/philadelphia.TgPcDx").string());
  if (binary.empty()) GTEST_SKIP() << "philadelphia.TgPcDx is absent";
  installRealConverter();
  writeBytes(user("philadelphia.TgPcDx"), binary);
  choose(user("philadelphia.TgPcDx"));
  logic_->openBin();
  ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text;
  const std::size_t levels = levelCount(editor_.view());
  ASSERT_GT(levels, 2u);

  logic_->exportDds();  // cancelled: nothing written
  const platform::FileDialogRequest& request = dialogs_.fileRequests.back();
  EXPECT_EQ(request.startFolder, platform::utf8FromPath(userFolder_));
  EXPECT_EQ(request.fileName, "philadelphia.dds");
  EXPECT_TRUE(frame_.statuses.empty());

  // Export PNG takes the level the open preview shows, the first without it.
  logic_->exportPng();
  EXPECT_EQ(dialogs_.fileRequests.back().fileName, "philadelphia.png");
  logic_->showTexturePreview();
  EXPECT_EQ(frame_.previewShown, 1);
  logic_->texturePreview().chooseLevel(1);
  choose(user("level2.png"));
  logic_->exportPng();
  EXPECT_EQ(dialogs_.fileRequests.back().fileName, "philadelphia-level2.png");
  EXPECT_EQ(dialogs_.fileRequests.back().filter, "PNG files (*.png)|*.png");
  const std::string png = readBytes(user("level2.png"));
  ASSERT_GE(png.size(), 24u);
  const auto bigEndian = [&png](std::size_t at) {
    return static_cast<std::uint32_t>(
        static_cast<unsigned char>(png[at]) << 24 | static_cast<unsigned char>(png[at + 1]) << 16 |
        static_cast<unsigned char>(png[at + 2]) << 8 | static_cast<unsigned char>(png[at + 3]));
  };
  EXPECT_EQ(bigEndian(16), 128u);  // philadelphia is 256 x 64: level 2 is 128 x 32
  EXPECT_EQ(bigEndian(20), 32u);
  EXPECT_EQ(frame_.statuses.back(), "Exported level 2 to level2.png");
#else
  GTEST_SKIP() << "built without the converter";
#endif
}

// A DXT5 file into a DXT1 texture: asked first; No leaves the text and its
// undo history; Yes replaces it as one step that one undo takes back.
TEST_F(TextureToolsTest, AnotherFormatAsksAndOneUndoTakesTheImportBack) {
  using namespace texture::testing;
  const std::string dxt1 =
      levelsXml(std::string(texture::kDxt1FormatName), BlockFormat::Dxt1, {{8, 8}, {4, 4}});
  editor_.setBytes(dxt1);
  DdsFields fields;
  fields.fourCc = "DXT5";
  fields.mipCount = 2;
  std::vector<std::uint8_t> data = levelBytes(BlockFormat::Dxt5, {8, 8}, 3);
  const auto small = levelBytes(BlockFormat::Dxt5, {4, 4}, 4);
  data.insert(data.end(), small.begin(), small.end());
  const auto dds = ddsFile(fields, data);
  writeBytes(user("dxt5.dds"), std::string(dds.begin(), dds.end()));

  choose(user("dxt5.dds"));
  dialogs_.questionAnswers.push_back(Answer::No);
  logic_->importDds();
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_NE(dialogs_.questions[0].find("DXT5"), std::string::npos) << dialogs_.questions[0];
  EXPECT_TRUE(editor_.bytes() == dxt1);
  EXPECT_FALSE(editor_.canUndo());
  EXPECT_FALSE(editor_.isModified());

  choose(user("dxt5.dds"));
  dialogs_.questionAnswers.push_back(Answer::Yes);
  logic_->importDds();
  EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text;
  const std::string imported = editor_.bytes();
  EXPECT_NE(imported.find(texture::kDxt5FormatName), std::string::npos);
  EXPECT_EQ(imported.find(std::string(texture::kDxt1FormatName) + "<"), std::string::npos);
  EXPECT_TRUE(editor_.isModified());
  ASSERT_FALSE(frame_.statuses.empty());
  EXPECT_EQ(frame_.statuses.back().rfind("Imported dxt5.dds: ", 0), 0u) << frame_.statuses.back();

  editor_.undo();
  EXPECT_TRUE(editor_.bytes() == dxt1);
  EXPECT_FALSE(editor_.canUndo());
}

TEST_F(TextureToolsTest, RefusedImportsLeaveTheTextAndItsHistory) {
  using namespace texture::testing;
  const std::string dxt1 =
      levelsXml(std::string(texture::kDxt1FormatName), BlockFormat::Dxt1, {{8, 8}, {4, 4}});
  editor_.setBytes(dxt1);
  editor_.setSelText("<!-- typed -->");  // one step to keep
  const std::string typed = editor_.bytes();
  writeBytes(user("not.dds"), "not a DDS file at all");
  writeBytes(user("not.png"), "not a PNG file at all");

  choose(user("not.dds"));
  logic_->importDds();
  EXPECT_EQ(onlyMessage().text.rfind("not.dds was not imported: ", 0), 0u) << onlyMessage().text;
  dialogs_.messages.clear();
  choose(user("not.png"));
  logic_->importPng();
  EXPECT_EQ(onlyMessage().text.rfind("not.png was not imported: ", 0), 0u) << onlyMessage().text;
  dialogs_.messages.clear();
  choose(user("missing.dds"));
  logic_->importDds();
  EXPECT_NE(onlyMessage().text.find("could not be read"), std::string::npos);
  dialogs_.messages.clear();
  logic_->importPng();  // the dialog cancelled: nothing at all
  EXPECT_TRUE(dialogs_.messages.empty());

  EXPECT_TRUE(editor_.bytes() == typed);
  editor_.undo();  // the typing is still the last step
  EXPECT_TRUE(editor_.bytes() == dxt1);
  EXPECT_TRUE(frame_.statuses.empty());
}

// A painted level back in through PNG: the text changes, one undo step.
TEST_F(TextureToolsTest, PngOfALevelGoesBackIn) {
  const std::string xml = realTexture("philadelphia.TgPcDx");
  if (xml.empty()) GTEST_SKIP() << "philadelphia.TgPcDx is absent";
  editor_.setBytes(xml);
  choose(user("level1.png"));
  logic_->exportPng();
  ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text;
  choose(user("level1.png"));
  logic_->importPng();
  ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text;
  EXPECT_EQ(levelCount(editor_.view()), levelCount(xml));
  EXPECT_TRUE(editor_.canUndo());
  editor_.undo();
  EXPECT_TRUE(editor_.bytes() == xml);
}

// The whole round trip: the texture file opened as a .bin, a level out as
// PNG and back in, Save .bin: the converter rebuilds the file from the new
// text, which reads back as that text.
TEST_F(TextureToolsTest, SaveBinAfterAnImportRebuildsTheTextureFile) {
#ifdef SERZ_PATH
  const std::string binary = readBytes(sharedFixture("real/philadelphia.TgPcDx").string());
  if (binary.empty()) GTEST_SKIP() << "philadelphia.TgPcDx is absent";
  installRealConverter();
  const std::string file = user("philadelphia.TgPcDx");
  writeBytes(file, binary);
  logic_->openFile(file);
  ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text;
  ASSERT_TRUE(logic_->document().isBin());
  const std::string before = editor_.bytes();

  // A painted level: every texel of level 1 made opaque white.
  const auto png = texture::exportLevelPng(before, 0);
  ASSERT_TRUE(std::holds_alternative<std::vector<std::uint8_t>>(png));
  const auto levels = std::get<texture::TextureLevels>(texture::readTextureLevels(before));
  texture::RgbaImage white{levels.levels[0].width, levels.levels[0].height, {}};
  white.pixels.assign(4u * white.width * white.height, 255);
  const auto painted = texture::encodePng(white);
  ASSERT_TRUE(std::holds_alternative<std::vector<std::uint8_t>>(painted));
  const auto& paintedBytes = std::get<std::vector<std::uint8_t>>(painted);
  writeBytes(user("white.png"), std::string(paintedBytes.begin(), paintedBytes.end()));

  choose(user("white.png"));
  logic_->importPng();
  ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text;
  const std::string imported = editor_.bytes();
  ASSERT_NE(imported, before);
  logic_->saveBin();
  ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text;
  const std::string rebuilt = readBytes(file);
  EXPECT_NE(rebuilt, binary);
  auto xml = serz::binToXml(rebuilt);
  ASSERT_TRUE(xml.ok());
  EXPECT_TRUE(xml.value() == imported) << "the rebuilt file reads back differently";
#else
  GTEST_SKIP() << "built without the converter";
#endif
}

}  // namespace
}  // namespace vantrel::testing
