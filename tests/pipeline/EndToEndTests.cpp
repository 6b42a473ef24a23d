#include <algorithm>

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
    pipeline::setBinCheckForTests(nullptr);  // what the real converter writes is judged for real
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
  // The caret is on the broken line, which is marked.
  const long brokenLine =
      1 + static_cast<long>(
              std::count(broken.begin(), broken.begin() + broken.find("</Palettise>"), '\n'));
  EXPECT_EQ(editor_.caretLine(), brokenLine);
  EXPECT_EQ(editor_.markedLine(), brokenLine);
  EXPECT_TRUE(contains(onlyMessage().text, "line " + std::to_string(brokenLine) + ", column "))
      << onlyMessage().text;
}

// The new file takes the old one's place with its permission bits; a
// read-only file is refused before anything runs.
TEST_F(EndToEndTest, SavingKeepsPermissionsAndRefusesAReadOnlyBin) {
  open();
  edit(value_, changed_);
  ASSERT_TRUE(pipeline::saveBin(ctx_));
#ifndef _WIN32  // Windows keeps no permission bits beyond the read-only mark
  const auto perms = fs::status(platform::pathFromUtf8(bin_)).permissions();
  EXPECT_EQ(perms & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
#endif
  EXPECT_EQ(readBytes(bin_ + ".bak"), original_);

  const std::string saved = readBytes(bin_);
  fs::permissions(platform::pathFromUtf8(bin_), fs::perms::owner_read);
  editor_.setBytes(editor_.bytes());  // unsaved again
  EXPECT_FALSE(pipeline::saveBin(ctx_));
  EXPECT_TRUE(contains(onlyMessage().text, "read-only")) << onlyMessage().text;
  EXPECT_EQ(readBytes(bin_), saved);
  EXPECT_FALSE(fs::exists(bin_ + ".bak1"));
}

#ifndef _WIN32
// Whichever converter wrote it, a .bin that does not decode whole is not a
// save: the old file stays, with no backup and no leftover.
TEST_F(EndToEndTest, AConverterThatWritesGarbageAfterTheMarkIsNotASave) {
  open();
  edit(value_, changed_);
  fs::remove(program_ / "serz");  // the link to the real one, which must stay as it is
  installConverter("printf 'SERZ\\001\\002garbage' > \"${2#bin:}\"\n");
  EXPECT_FALSE(pipeline::saveBin(ctx_));
  EXPECT_TRUE(contains(onlyMessage().text, "not in the simulator's format")) << onlyMessage().text;
  EXPECT_EQ(readBytes(bin_), original_);
  auto entries = fs::directory_iterator(userFolder_);
  EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);
}
#endif

}  // namespace
}  // namespace vantrel::testing
