#pragma once
#include <memory>

#include "platform/editor/Editor.h"

// Tests and benchmarks of the core run on a real editor control of the
// window toolkit the platform uses (QScintilla on Linux, Scintilla's Win32
// control on Windows). Nothing here names the toolkit.
namespace vantrel::testing {

class TestEditor {
 public:
  virtual ~TestEditor() = default;
  virtual platform::Editor& editor() = 0;
  // Shows the control in a window beside a find box, as in the main window,
  // and paints it.
  virtual void show() = 0;
  // Delivers pending events and paints the window now.
  virtual void paint() = 0;
  // Gives the control the focus and types one character as a user would.
  virtual void type(char character) = 0;
};

// A hidden editor control; show() puts it on screen (offscreen in tests).
std::unique_ptr<TestEditor> makeTestEditor();

// Lets the toolkit deliver what it has queued (notifications, repaints).
void processToolkitEvents();

// Starts the toolkit for a test or benchmark program: an application
// object, offscreen unless the environment says otherwise, and the message
// pump for waiting on processes. It lives as long as the returned object.
std::shared_ptr<void> startToolkit(int& argc, char** argv);

}  // namespace vantrel::testing
