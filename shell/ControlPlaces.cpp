#include "shell/ControlPlaces.h"

namespace vantrel::shell {

TwipsRect designPlace(const ControlDesign& row) {
  return {static_cast<float>(row.left), static_cast<float>(row.top), static_cast<float>(row.width),
          static_cast<float>(row.height)};
}

ResizeInput resizeInputFor(float outerWidth, float outerHeight) {
  ResizeInput in;
  in.outerWidth = outerWidth;
  in.outerHeight = outerHeight;
  in.text2Height = static_cast<float>(kMainWindowControls[kFindBox].height);
  in.label1Width = static_cast<float>(kMainWindowControls[kLabel1].width);
  in.command1Width = static_cast<float>(kMainWindowControls[kCommand1].width);
  in.command9Width = static_cast<float>(kMainWindowControls[kCommand9].width);
  return in;
}

TwipsRect placeAfterResize(const ControlDesign& row, const ResizeLayout& out) {
  TwipsRect r = designPlace(row);
  switch (row.follows) {
    case Follows::Nothing:
      break;
    case Follows::EditorArea:
      r = {out.editorLeft, out.editorTop, out.editorWidth, out.editorHeight};
      break;
    case Follows::FirstRow:
      r.top = out.firstRowTop;
      break;
    case Follows::SecondRow:
      r.top = out.secondRowTop;
      break;
    case Follows::Label1Place:
      r.left = out.label1Left;
      break;
    case Follows::PathBoxWidth:
      r.left = out.text1Left;
      r.width = out.text1Width;
      break;
    case Follows::Command1Place:
      r.left = out.command1Left;
      break;
    case Follows::Command9Place:
      r.left = out.command9Left;
      break;
  }
  return r;
}

}  // namespace vantrel::shell
