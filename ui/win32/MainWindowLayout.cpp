#include "ui/win32/MainWindowLayout.h"

#include <algorithm>

#include "shell/ResizeLayout.h"
#include "ui/win32/Twips.h"

namespace vantrel::win32 {

namespace {

using shell::Follows;
using shell::kMainWindowControls;

struct TwipsRect {
  float left, top, width, height;
};

shell::PixelRect toPixels(const TwipsRect& r, unsigned dpi) {
  return {twipsToPixels(r.left, dpi), twipsToPixels(r.top, dpi),
          std::max(0, twipsToPixels(r.width, dpi)), std::max(0, twipsToPixels(r.height, dpi))};
}

TwipsRect designOf(const shell::ControlDesign& row) {
  return {static_cast<float>(row.left), static_cast<float>(row.top), static_cast<float>(row.width),
          static_cast<float>(row.height)};
}

}  // namespace

ControlPlaces designPlaces(unsigned dpi) {
  ControlPlaces places{};
  for (std::size_t i = 0; i < kMainWindowControls.size(); ++i)
    places[i] = toPixels(designOf(kMainWindowControls[i]), dpi);
  return places;
}

ControlPlaces placeControls(int outerWidth, int outerHeight, unsigned dpi) {
  // The rules read the sizes of four controls; nothing but the rules
  // changes them, so those are the design sizes.
  shell::ResizeInput in;
  in.outerWidth = static_cast<float>(pixelsToTwips(outerWidth, dpi));
  in.outerHeight = static_cast<float>(pixelsToTwips(outerHeight, dpi));
  in.text2Height = static_cast<float>(kMainWindowControls[shell::kFindBox].height);
  in.label1Width = static_cast<float>(kMainWindowControls[shell::kLabel1].width);
  in.command1Width = static_cast<float>(kMainWindowControls[shell::kCommand1].width);
  in.command9Width = static_cast<float>(kMainWindowControls[shell::kCommand9].width);
  const shell::ResizeLayout out = shell::computeResizeLayout(in);

  ControlPlaces places{};
  for (std::size_t i = 0; i < kMainWindowControls.size(); ++i) {
    TwipsRect r = designOf(kMainWindowControls[i]);
    switch (kMainWindowControls[i].follows) {
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
    places[i] = toPixels(r, dpi);
  }
  return places;
}

}  // namespace vantrel::win32
