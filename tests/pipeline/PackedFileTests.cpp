// A packed file (ZIP under any name) opened through Open .bin, View other
// files or a dropped file: the member picker, the member converted as a
// loose file, and Save .bin writing the loose file beside the packed one,
// which is never written.
#include "tests/archive/ZipBuilder.h"
#include "tests/pipeline/PipelineFixture.h"

namespace vantrel::testing {
namespace {

using platform::Answer;

class PackedFileTest : public PipelineFixture {
 protected:
  void SetUp() override {
    PipelineFixture::SetUp();
    installConverter();
    fs::create_directories(userFolder_ / "Product");
    archive_ = user("Product/MainContent.ap");
    test::ZipBuilder zip(archive_);
    zip.add("Scenery/Tree.bin", "SERZtree");
    zip.add("Scenery/readme.txt", "not a binary");
    zip.add("Scenery\\Rock.bin", "SERZrock");
    zip.close();
    archiveBytes_ = readBytes(archive_);
  }
  std::string loose(const std::string& member) const { return user("Product/" + member); }

  std::string archive_, archiveBytes_;
};

TEST_F(PackedFileTest, AMemberOpensAndSavesAsALooseFileOnlyAfterAsking) {
  choose(archive_);
  dialogs_.memberAnswers = {"Scenery/Tree.bin"};
  ASSERT_TRUE(pipeline::openBin(ctx_));
  ASSERT_EQ(dialogs_.memberTitles, std::vector<std::string>{"Open from MainContent.ap"});
  EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.messages.front().text;
  EXPECT_EQ(editor_.bytes(), "tree");
  EXPECT_EQ(pathBox_.text(), loose("Scenery/Tree.bin"));
  EXPECT_EQ(document_.kind(), pipeline::Document::Kind::ArchiveMember);
  EXPECT_EQ(document_.titleName(), "Tree.bin (from MainContent.ap)");
  EXPECT_FALSE(fs::exists(program_ / "TempFiles" / "Packed")) << "the taken-out member is gone";

  editor_.setSelText("edited ");
  dialogs_.questionAnswers = {Answer::No};
  EXPECT_EQ(pipeline::saveBin(ctx_).kind, pipeline::Outcome::Kind::Cancelled);
  ASSERT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(dialogs_.questions[0],
            "Tree.bin is packed in MainContent.ap. Save .bin writes it as "
            "the loose file " +
                loose("Scenery/Tree.bin") + "; the archive stays as it is. Go on?");
  EXPECT_FALSE(exists(loose("Scenery")));

  dialogs_.questionAnswers = {Answer::Yes};
  ASSERT_TRUE(pipeline::saveBin(ctx_));
  EXPECT_EQ(readBytes(loose("Scenery/Tree.bin")), "SERZedited tree");
  EXPECT_FALSE(exists(loose("Scenery/Tree.bin.bak"))) << "a new file has nothing to back up";
  EXPECT_FALSE(editor_.isModified());

  // Asked once: the next save backs up the loose file as any save does.
  editor_.setSelText("again ");
  ASSERT_TRUE(pipeline::saveBin(ctx_));
  EXPECT_EQ(dialogs_.questions.size(), 2u);
  EXPECT_EQ(readBytes(loose("Scenery/Tree.bin.bak")), "SERZedited tree");
  EXPECT_EQ(readBytes(archive_), archiveBytes_) << "the packed file is only ever read";
}

// Recognised by content: a packed file under another name, opened as a
// dropped file or through View other files, lists the same members; a
// member stored with '\' separators is offered with '/'.
TEST_F(PackedFileTest, APackedFileIsKnownByItsContentWhateverItsName) {
  const std::string renamed = user("Product/content.dat");
  fs::copy_file(platform::pathFromUtf8(archive_), platform::pathFromUtf8(renamed));
  dialogs_.memberAnswers = {"Scenery/Rock.bin"};
  ASSERT_TRUE(pipeline::openBinFile(ctx_, renamed));
  EXPECT_EQ(editor_.bytes(), "rock");
  EXPECT_EQ(pathBox_.text(), loose("Scenery/Rock.bin"));
  EXPECT_EQ(document_.titleName(), "Rock.bin (from content.dat)");

  dialogs_.memberAnswers = {"Scenery/Tree.bin"};
  ASSERT_TRUE(pipeline::viewOtherFile(ctx_, archive_));
  EXPECT_EQ(editor_.bytes(), "tree");
  EXPECT_TRUE(document_.isBin()) << "a member is a binary file, whichever command opened it";
}

// Cancelling the picker, a broken archive and one without a binary member
// leave the editor, the path box and the document as they were.
TEST_F(PackedFileTest, RefusedOpensLeaveEverythingAsItWas) {
  writeBytes(user("x.bin"), "SERZkept");
  choose(user("x.bin"));
  ASSERT_TRUE(pipeline::openBin(ctx_));
  const std::string broken = user("Product/Broken.ap");
  writeBytes(broken, archiveBytes_.substr(0, archiveBytes_.size() / 2));
  const std::string empty = user("Product/Text.ap");
  {
    test::ZipBuilder zip(empty);
    zip.add("readme.txt", "just text");
    zip.close();
  }
  struct Case {
    std::string path, messageStart;
  };
  const Case cases[] = {{archive_, ""},  // the picker is cancelled
                        {broken, "Broken.ap is not a readable packed file"},
                        {empty, "Text.ap holds no file the editor can open"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    dialogs_.messages.clear();
    choose(c.path);
    EXPECT_FALSE(pipeline::openBin(ctx_));
    if (c.messageStart.empty()) {
      EXPECT_TRUE(dialogs_.messages.empty());
    } else {
      ASSERT_EQ(dialogs_.messages.size(), 1u);
      EXPECT_EQ(dialogs_.messages[0].text.rfind(c.messageStart, 0), 0u)
          << dialogs_.messages[0].text;
    }
    EXPECT_EQ(editor_.bytes(), "kept");
    EXPECT_EQ(pathBox_.text(), user("x.bin"));
    EXPECT_EQ(document_.kind(), pipeline::Document::Kind::Bin);
  }
}

// The path box edited to name the packed file itself: Save .bin refuses.
TEST_F(PackedFileTest, SaveBinNeverWritesThePackedFile) {
  dialogs_.memberAnswers = {"Scenery/Tree.bin"};
  ASSERT_TRUE(pipeline::openBinFile(ctx_, archive_));
  editor_.setSelText("edited ");
  pathBox_.setText(archive_);
  EXPECT_FALSE(pipeline::saveBin(ctx_));
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_NE(dialogs_.messages[0].text.find("never writes a packed file"), std::string::npos);
  EXPECT_EQ(readBytes(archive_), archiveBytes_);
  EXPECT_TRUE(dialogs_.questions.empty());
}

}  // namespace
}  // namespace vantrel::testing
