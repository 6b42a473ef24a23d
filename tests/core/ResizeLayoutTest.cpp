#include <gtest/gtest.h>

#include "shell/ResizeLayout.h"

using namespace vantrel::shell;

namespace {
ResizeLayout layoutFor(float w, float h) {
  ResizeInput in;
  in.outerWidth = w;
  in.outerHeight = h;
  return computeResizeLayout(in);
}
}  // namespace

TEST(ResizeLayout, DesignSizeFillsTheEditorAndTopRow) {
  auto l = layoutFor(12690, 10860);
  EXPECT_EQ(l.editorLeft, 360);
  EXPECT_EQ(l.editorTop, 1320);
  EXPECT_EQ(l.editorWidth, 11890);
  EXPECT_EQ(l.editorHeight, 7360);
  EXPECT_EQ(l.firstRowTop, 8780);
  EXPECT_EQ(l.secondRowTop, 9205);
  EXPECT_EQ(l.label1Left, 360);
  EXPECT_EQ(l.text1Left, 1505);
  EXPECT_EQ(l.text1Width, 8215);
  EXPECT_EQ(l.command1Left, 9770);
  EXPECT_EQ(l.command9Left, 10315);
  EXPECT_EQ(l.command9Left + 1935, l.editorLeft + l.editorWidth);  // rows end together
}

TEST(ResizeLayout, WiderAndTallerMoveOnlyWhatFollows) {
  auto base = layoutFor(12690, 10860);
  auto wider = layoutFor(13690, 10860);
  EXPECT_EQ(wider.editorWidth - base.editorWidth, 1000);
  EXPECT_EQ(wider.text1Width - base.text1Width, 1000);
  EXPECT_EQ(wider.command9Left - base.command9Left, 1000);
  EXPECT_EQ(wider.firstRowTop, base.firstRowTop);

  auto taller = layoutFor(12690, 11360);
  EXPECT_EQ(taller.firstRowTop - base.firstRowTop, 500);
  EXPECT_EQ(taller.secondRowTop - base.secondRowTop, 500);
  EXPECT_EQ(taller.text1Width, base.text1Width);
}

TEST(ResizeLayout, TooSmallWindowClampsSizesAtZero) {
  auto l = layoutFor(500, 2000);
  EXPECT_EQ(l.editorWidth, 0);
  EXPECT_EQ(l.editorHeight, 0);
  EXPECT_EQ(l.text1Width, 0);
  EXPECT_EQ(l.firstRowTop, 1420);
  EXPECT_EQ(l.command1Left, 1555);  // follows the clamped path box

  auto narrowTopRow = layoutFor(4000, 10860);  // editor 3200, top row needs 3675
  EXPECT_EQ(narrowTopRow.editorWidth, 3200);
  EXPECT_EQ(narrowTopRow.text1Width, 0);
}
