#include <gtest/gtest.h>

#include <array>

#include "shell/ResizeLayout.h"

using namespace vantrel::shell;

namespace {
ResizeLayout layoutFor(float w, float h) {
  ResizeInput in;
  in.outerWidth = w;
  in.outerHeight = h;
  return computeResizeLayout(in);
}
// In the order of ResizeLayout: editor left, top, width, height, first and
// second row tops, Label1 left, Text1 left and width, Command1 and Command9 lefts.
using Fields = std::array<float, 11>;
Fields fields(const ResizeLayout& l) {
  return {l.editorLeft, l.editorTop, l.editorWidth, l.editorHeight, l.firstRowTop, l.secondRowTop,
          l.label1Left, l.text1Left, l.text1Width,  l.command1Left, l.command9Left};
}
}  // namespace

TEST(ResizeLayout, DesignSizeFillsTheEditorAndTopRow) {
  auto l = layoutFor(12690, 10860);
  EXPECT_EQ(fields(l), (Fields{360, 1320, 11890, 7360, 8780, 9205, 360, 1505, 8215, 9770, 10315}));
  EXPECT_EQ(l.command9Left + 1935, l.editorLeft + l.editorWidth);  // rows end together
}

TEST(ResizeLayout, WiderAndTallerMoveOnlyWhatFollows) {
  const Fields base = fields(layoutFor(12690, 10860));
  Fields wider = fields(layoutFor(13690, 10860)), taller = fields(layoutFor(12690, 11360));
  for (size_t i = 0; i < base.size(); ++i) wider[i] -= base[i], taller[i] -= base[i];
  EXPECT_EQ(wider, (Fields{0, 0, 1000, 0, 0, 0, 0, 0, 1000, 1000, 1000}));
  EXPECT_EQ(taller, (Fields{0, 0, 0, 500, 500, 500, 0, 0, 0, 0, 0}));
}

TEST(ResizeLayout, TooSmallWindowClampsSizesAtZero) {
  auto l = layoutFor(500, 2000);
  EXPECT_EQ(l.editorWidth, 0);
  EXPECT_EQ(l.editorHeight, 0);
  EXPECT_EQ(l.text1Width, 0);
  EXPECT_EQ(l.firstRowTop, 1420);
  EXPECT_EQ(l.command1Left, 1555);             // follows the clamped path box
  auto narrowTopRow = layoutFor(4000, 10860);  // editor 3200, top row needs 3675
  EXPECT_EQ(narrowTopRow.editorWidth, 3200);
  EXPECT_EQ(narrowTopRow.text1Width, 0);
}
