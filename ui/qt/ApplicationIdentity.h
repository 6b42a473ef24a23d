#pragma once

namespace vantrel::qt {

// Registers the application's title and "1.0.8" with Qt's application
// object; the title is every message box's caption.
void registerApplicationIdentity();

}  // namespace vantrel::qt
