#pragma once
#include <functional>

namespace vantrel::platform {

// "Process pending window messages once". The GUI installs
// QCoreApplication::processEvents; code without a GUI (serz, tests of pure
// logic, the Windows cross build) runs with the default, which does nothing.
void setMessagePump(std::function<void()> pump);
void processPendingMessages();

}  // namespace vantrel::platform
