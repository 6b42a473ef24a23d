#pragma once

// The main window's resize rules as a pure function of the outer window size
// and the current sizes of the controls that the rules read. Twips throughout,
// single-precision arithmetic; sizes are clamped at zero.
namespace vantrel::shell {

struct ResizeInput {
  float outerWidth = 0;  // whole window, frame, title and menu bar included
  float outerHeight = 0;
  float text2Height = 375;  // find box
  float label1Width = 1095;
  float command1Width = 495;
  float command9Width = 1935;
};

struct ResizeLayout {
  float editorLeft, editorTop, editorWidth, editorHeight;
  float firstRowTop;   // Command3, Command2, Text2, Command4, Command7, Command8, Check1
  float secondRowTop;  // Text3, Command5, Command6, Command10, Command11
  float label1Left;
  float text1Left, text1Width;
  float command1Left;
  float command9Left;
};

ResizeLayout computeResizeLayout(const ResizeInput& in);

}  // namespace vantrel::shell
