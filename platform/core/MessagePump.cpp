#include "platform/core/MessagePump.h"

#include <utility>

namespace vantrel::platform {

namespace {
std::function<void()>& installedPump() {
  static std::function<void()> pump;
  return pump;
}
}  // namespace

void setMessagePump(std::function<void()> pump) { installedPump() = std::move(pump); }

void processPendingMessages() {
  // Copy first: the pump may run a handler that installs another pump.
  auto pump = installedPump();
  if (pump) pump();
}

}  // namespace vantrel::platform
