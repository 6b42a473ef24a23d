#include "tests/pipeline/PipelineFixture.h"

namespace vantrel::testing {
namespace {

// The real converter on a file the simulator wrote, from open to save and
// open again.
class EndToEndTest : public PipelineFixture {
 protected:
  void SetUp() override {
    PipelineFixture::SetUp();
    const fs::path fixture = sharedFixture("serz/ScenaryItem.bin");
    if (!fs::exists(fixture)) GTEST_SKIP() << "fixture absent: " << fixture.string();
    if (!fs::exists(SERZ_PATH)) GTEST_SKIP() << "serz not built: " << SERZ_PATH;
    installRealConverter();
    bin_ = user("ScenaryItem.bin");
    original_ = readBytes(fixture);
    writeBytes(bin_, original_);
    fs::permissions(bin_, fs::perms::owner_read | fs::perms::owner_write);
  }
  void open() {
    choose(bin_);
    pipeline::openBin(ctx_);
  }
  // Replaces the one occurrence of from in the editor's text.
  void edit(const std::string& from, const std::string& to) {
    std::string text = editor_.bytes();
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    editor_.setBytes(text);
  }

  std::string bin_;
  std::string original_;
  const std::string value_ = "<LowestLevel_10isLowest d:type=\"sInt32\">10<";
  const std::string changed_ = "<LowestLevel_10isLowest d:type=\"sInt32\">7<";
};

TEST_F(EndToEndTest, AChangedValueSurvivesSaveAndReopen) {
  open();
  ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text;
  EXPECT_EQ(editor_.bytes(), readBytes(working("ScenaryItem.xml")));
  edit(value_, changed_);
  pipeline::saveBin(ctx_);
  ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages[0].text;
  EXPECT_EQ(readBytes(bin_ + ".bak"), original_);
  EXPECT_NE(readBytes(bin_), original_);
  EXPECT_FALSE(fs::exists(working("ScenaryItem.xml")));

  editor_.setBytes("");
  open();
  EXPECT_NE(editor_.bytes().find(changed_), std::string::npos);
  EXPECT_EQ(editor_.bytes().find(value_), std::string::npos);
}

TEST_F(EndToEndTest, ABrokenXmlLeavesTheBinUnchanged) {
  open();
  edit("</Palettised>", "</Palettise>");
  const std::string broken = editor_.bytes();
  pipeline::saveBin(ctx_);
  EXPECT_EQ(readBytes(bin_), original_);
  EXPECT_FALSE(fs::exists(bin_ + ".bak"));
  EXPECT_EQ(readBytes(working("ScenaryItem.xml")), broken);
  EXPECT_TRUE(contains(onlyMessage().text, "line")) << onlyMessage().text;
}

}  // namespace
}  // namespace vantrel::testing
