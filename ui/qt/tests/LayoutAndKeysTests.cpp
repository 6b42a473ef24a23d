// The resize layout as the window applies it, and the search commands as
// the buttons and Enter in the two boxes start them.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "GuiFixture.h"
#include "ui/qt/QtEditorControl.h"

namespace vantrel::testing {
namespace {

class MainWindowInUse : public GuiFixture {
 protected:
  void SetUp() override {
    GuiFixture::SetUp();
    window_ = showMainWindow();
  }
  const qt::Form1Controls& c() const { return window_->controls(); }
  double t(int pixels) const { return twips(*window_, pixels); }
  // Gives the outer frame a size in twips.
  void resizeOuter(double width, double height) {
    const QSize margins = window_->frameGeometry().size() - window_->geometry().size();
    window_->resize(static_cast<int>(std::lround(width / t(1))) - margins.width(),
                    static_cast<int>(std::lround(height / t(1))) - margins.height());
    QCoreApplication::processEvents();
  }
  std::unique_ptr<qt::Form1> window_;
};

using ResizeLayout = MainWindowInUse;
constexpr double kPixel = 15.5;  // each value is rounded to whole pixels once

// The layout's arithmetic has its own tests; here the window must apply it.
TEST_F(ResizeLayout, EditorFillsTheWindowAndTheRowsFollowIt) {
  resizeOuter(12690, 10860);
  const QRect editor = c().RichTextBox1->geometry();
  const std::pair<int, double> placed[] = {
      // pixels, twips
      {editor.left(), 360},       {editor.top(), 1320},       {editor.width(), 11890},
      {editor.height(), 7360},    {c().Command3->y(), 8780},  {c().Check1->y(), 8780},
      {c().Text3->y(), 9205},     {c().Command11->y(), 9205}, {c().Text1->x(), 1505},
      {c().Text1->width(), 8215}, {c().Command1->x(), 9770}};
  for (const auto& [pixels, expected] : placed) EXPECT_NEAR(t(pixels), expected, kPixel);
  EXPECT_LE(std::abs(c().Command9->geometry().right() - editor.right()), 1);

  const QPoint check1 = c().Check1->pos(), command1 = c().Command1->pos();
  resizeOuter(12690 + 1000, 10860 + 500);
  EXPECT_NEAR(t(c().RichTextBox1->width() - editor.width()), 1000, 2 * kPixel);
  EXPECT_NEAR(t(c().RichTextBox1->height() - editor.height()), 500, 2 * kPixel);
  EXPECT_NEAR(t(c().Command1->x() - command1.x()), 1000, 2 * kPixel);
  EXPECT_EQ(c().Command1->y(), command1.y());
  EXPECT_EQ(c().Check1->x(), check1.x());
  EXPECT_NEAR(t(c().Check1->y() - check1.y()), 500, 2 * kPixel);
}

// The window cannot be made smaller than the size at which every control
// is whole, and the buttons on the right keep a margin from the edge.
TEST_F(ResizeLayout, EveryControlStaysWholeAtTheSmallestSize) {
  const QWidget* client = window_->centralWidget();
  const auto rightMargin = [&] {
    return t(client->width() - c().Command2->geometry().right() - 1);
  };
  EXPECT_GE(rightMargin(), 360 - kPixel);  // at the design size

  window_->resize(20, 20);
  QCoreApplication::processEvents();
  EXPECT_GE(window_->width(), window_->minimumWidth());
  for (const QWidget* control : c().all) {
    EXPECT_TRUE(client->rect().contains(control->geometry()))
        << control->objectName().toStdString();
  }
  EXPECT_GT(t(c().RichTextBox1->height()), 900);
  EXPECT_GE(rightMargin(), 360 - kPixel);
}

using SearchCommands = MainWindowInUse;

TEST_F(SearchCommands, EnterInTheFindBoxFindsAtOnceWithAnyModifier) {
  c().RichTextBox1->editor().setBytes("alpha beta gamma beta");
  QSignalSpy findClicks(c().Command4, &QPushButton::clicked);
  QTest::keyClick(c().Text2, Qt::Key_Return);  // empty box: nothing
  c().Text2->setText(QStringLiteral("beta"));
  QTest::keyClick(c().Text2, Qt::Key_A, Qt::ControlModifier);  // other keys: nothing
  EXPECT_EQ(findClicks.count(), 0);
  QTest::keyClick(c().Text2, Qt::Key_Return);
  EXPECT_EQ(findClicks.count(), 1);  // pressed before the key handling returned
  EXPECT_EQ(c().RichTextBox1->editor().selStart(), 6);
  QTest::keyClick(c().Text2, Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(c().RichTextBox1->editor().selStart(), 17);
  QTest::keyClick(c().Text2, Qt::Key_Enter, Qt::KeypadModifier | Qt::ControlModifier);
  EXPECT_EQ(findClicks.count(), 3);

  window_->setBusy(true);  // a disabled Find cannot be pressed
  QTest::keyClick(c().Text2, Qt::Key_Return);
  EXPECT_EQ(findClicks.count(), 3);
}

TEST_F(SearchCommands, EnterInTheReplaceBoxReplacesTheFoundWord) {
  c().RichTextBox1->editor().setBytes("alpha beta gamma beta");
  QSignalSpy replaceClicks(c().Command5, &QPushButton::clicked);
  QTest::keyClick(c().Text3, Qt::Key_Return);  // empty box: nothing
  EXPECT_EQ(replaceClicks.count(), 0);
  c().Text2->setText(QStringLiteral("beta"));
  c().Command4->click();
  c().Text3->setText(QStringLiteral("BETA"));
  QTest::keyClick(c().Text3, Qt::Key_Return);
  EXPECT_EQ(replaceClicks.count(), 1);
  EXPECT_EQ(c().RichTextBox1->editor().bytes(), "alpha BETA gamma beta");
}

TEST_F(SearchCommands, FindReadsWholeWordAndTheBoxesTextsAreUtf8) {
  c().RichTextBox1->editor().setBytes(
      "alphabet bet K\xC4\x85ty M\xC3\x9CNCHEN caf\xE9");  // Kąty MÜNCHEN, ANSI é
  c().Text2->setText(QStringLiteral("bet"));
  c().Command4->click();
  EXPECT_EQ(c().RichTextBox1->editor().selStart(), 9)
      << "whole word: the 'bet' inside 'alphabet' is skipped";
  c().Check1->setChecked(false);
  c().RichTextBox1->editor().setSelStart(0);
  c().Command4->click();
  EXPECT_EQ(c().RichTextBox1->editor().selStart(), 5);

  c().Text2->setText(QStringLiteral(u"münchen"));  // any case, also beyond ASCII
  c().Text3->setText(QStringLiteral(u"Köln"));
  c().Command6->click();
  EXPECT_EQ(c().RichTextBox1->editor().bytes(), "alphabet bet K\xC4\x85ty K\xC3\xB6ln caf\xE9");

  c().Text2->setText(QStringLiteral(u"KĄTY"));
  c().RichTextBox1->editor().setSelStart(0);
  c().Command4->click();
  EXPECT_EQ(c().RichTextBox1->editor().selStart(), 13);
  EXPECT_EQ(c().RichTextBox1->editor().selLength(), 5);

  // The ANSI byte 0xE9 is not the letter é: nothing found, the selection stays.
  c().Text2->setText(QStringLiteral(u"café"));
  c().Command4->click();
  EXPECT_EQ(c().RichTextBox1->editor().selStart(), 13);
  EXPECT_EQ(c().RichTextBox1->editor().selLength(), 5);
}

}  // namespace
}  // namespace vantrel::testing
