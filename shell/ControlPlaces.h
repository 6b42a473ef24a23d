#pragma once
#include "shell/MainWindowControls.h"
#include "shell/ResizeLayout.h"

// Where each control of the design table goes once the resize rules have
// run: its design place, with the parts its rule governs taken from the
// layout. Twips of the client area; each window turns them into pixels.
namespace vantrel::shell {

struct TwipsRect {
  float left, top, width, height;
};

TwipsRect designPlace(const ControlDesign& row);

// The layout's input for an outer window size: the four sizes the rules
// read are the design's, since nothing but the rules changes them.
ResizeInput resizeInputFor(float outerWidth, float outerHeight);

TwipsRect placeAfterResize(const ControlDesign& row, const ResizeLayout& layout);

}  // namespace vantrel::shell
