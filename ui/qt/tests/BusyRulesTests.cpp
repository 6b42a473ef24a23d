// The window during a conversion: what the user does then goes through the
// core's one-command-at-a-time rule. A slow stand-in converter (it waits
// while serz.hold lies beside it) keeps Save .bin running while the test
// drops a file on the window and presses buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "pipeline/operations/WrittenBinCheck.h"
#include "ui/qt/QtEditorControl.h"
#include "ui/qt/tests/GuiFixture.h"

namespace vantrel::testing {
namespace {

class BusyRules : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    // serz IN bin:OUT writes "SERZ" and IN; serz IN xml:OUT writes IN
    // without its "SERZ"; then it waits while serz.hold exists.
    const fs::path serz = programFolder_ / "serz";
    writeFile(serz,
              "#!/bin/sh\n"
              "out=${2#*:}\n"
              "case \"$2\" in\n"
              "  bin:*) { printf SERZ; cat \"$1\"; } > \"$out\" ;;\n"
              "  *) tail -c +5 \"$1\" > \"$out\" ;;\n"
              "esac\n"
              "while [ -e \"$(dirname \"$0\")/serz.hold\" ]; do sleep 0.02; done\n");
    fs::permissions(serz, fs::perms::owner_all);
    users_ = programFolder_.parent_path() / "users";
    fs::create_directories(users_ / "B");
    writeFile(users_ / "x.bin", "SERZoriginal");
    writeFile(users_ / "B" / "x.bin", "SERZthe other file");
    // The stand-in writes "SERZ" and text, not a real binary.
    pipeline::setBinCheckForTests([](const std::string&) { return std::optional<std::string>(); });
  }
  void TearDown() override {
    pipeline::setBinCheckForTests(nullptr);
    GuiFixture::TearDown();
  }
  fs::path hold() const { return programFolder_ / "serz.hold"; }

  // Drops path on a widget as the window system delivers a drop: the drag
  // enters, then drops.
  static void drop(QWidget* on, const fs::path& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path.string()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &event);
  }

  fs::path users_;
};

// A file dropped while Save .bin runs (the other file of the same name, and
// the open file itself) is refused: the save finishes with the edit, the
// other file and the editor's text stay as they were, and afterwards a
// drop opens again.
TEST_F(BusyRules, AFileDroppedDuringASaveIsRefused) {
  auto window = showMainWindow();
  window->openFile((users_ / "x.bin").string());
  platform::Editor& editor = window->controls().RichTextBox1->editor();
  ASSERT_EQ(editor.bytes(), "original");
  editor.setSelText("edited ");
  QCoreApplication::processEvents();

  writeFile(hold(), "");
  bool saveButtonWasEnabled = true, stillRunning = false;
  QTimer::singleShot(300, window.get(), [&] {
    saveButtonWasEnabled = window->controls().Command3->isEnabled();
    stillRunning = window->logic().commandRunning();
    drop(window.get(), users_ / "B" / "x.bin");
    drop(window->controls().RichTextBox1->viewport(), users_ / "x.bin");
    QTimer::singleShot(300, [&] {
      window->controls().Command3->click();  // disabled: nothing happens
      fs::remove(hold());
    });
  });
  dialogs_.questionAnswers = {platform::Answer::No};
  window->controls().Command3->click();  // returns once the save has ended
  // Let the queued drops arrive, as they would after the save.
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();

  ASSERT_TRUE(stillRunning) << "the drops must come while the converter runs";
  EXPECT_FALSE(saveButtonWasEnabled);
  EXPECT_EQ(readFile(users_ / "x.bin"), "SERZedited original");
  EXPECT_EQ(readFile(users_ / "x.bin.bak"), "SERZoriginal");
  EXPECT_FALSE(fs::exists(users_ / "x.bin.bak1")) << "the converter ran once";
  EXPECT_EQ(readFile(users_ / "B" / "x.bin"), "SERZthe other file");
  EXPECT_EQ(editor.bytes(), "edited original");
  EXPECT_FALSE(editor.isModified());
  ASSERT_EQ(dialogs_.messages.size(), 2u);
  for (const auto& message : dialogs_.messages)
    EXPECT_EQ(message.text, "x.bin is still being converted.");
  EXPECT_TRUE(dialogs_.questions.empty());

  drop(window.get(), users_ / "B" / "x.bin");
  for (int i = 0; i < 5 && editor.bytes() != "the other file"; ++i)
    QCoreApplication::processEvents();
  EXPECT_EQ(editor.bytes(), "the other file");
  EXPECT_EQ(window->controls().Text1->text().toStdString(), (users_ / "B" / "x.bin").string());
}

}  // namespace
}  // namespace vantrel::testing
