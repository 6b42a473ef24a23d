#include "shell/ResizeLayout.h"

#include <algorithm>

namespace vantrel::shell {

namespace {
constexpr float kEditorLeft = 360;
constexpr float kEditorTop = 1320;
constexpr float kWidthAllowance = 800;
constexpr float kHeightAllowance = 3500;
constexpr float kGapUnderEditor = 100;
constexpr float kRowGap = 50;
constexpr float kTopRowGaps = 150;

float clampAtZero(float size) { return std::max(size, 0.0f); }
}  // namespace

// The steps run in this order, and each later step reads the sizes the
// earlier ones set (after clamping, as the control would report them).
ResizeLayout computeResizeLayout(const ResizeInput& in) {
  ResizeLayout out{};
  out.editorTop = kEditorTop;
  out.editorLeft = kEditorLeft;
  out.editorWidth = clampAtZero(in.outerWidth - kWidthAllowance);
  out.editorHeight = clampAtZero(in.outerHeight - kHeightAllowance);

  out.firstRowTop = out.editorTop + out.editorHeight + kGapUnderEditor;
  out.secondRowTop = out.firstRowTop + in.text2Height + kRowGap;

  out.label1Left = out.editorLeft;
  out.text1Left = out.label1Left + in.label1Width + kRowGap;
  out.text1Width = clampAtZero(
      out.editorWidth - (in.label1Width + kTopRowGaps + in.command1Width + in.command9Width));
  out.command1Left = out.text1Left + out.text1Width + kRowGap;
  out.command9Left = out.command1Left + in.command1Width + kRowGap;
  return out;
}

}  // namespace vantrel::shell
