#include "findfiles/Decode.h"

#include <new>

#include "converter/ByteSink.h"
#include "converter/Codec.h"

namespace vantrel::findfiles::detail {

namespace {

// Takes the XML as it is made, a megabyte or so at a time, and refuses
// more once the run is stopped, which ends the conversion.
class StoppableSink final : public serz::ByteSink {
 public:
  StoppableSink(std::string& out, const std::atomic<bool>& stop) : out_(out), stop_(stop) {}
  bool write(std::string_view bytes) override {
    if (stop_.load(std::memory_order_relaxed)) return false;
    out_.append(bytes);
    return true;
  }

 private:
  std::string& out_;
  const std::atomic<bool>& stop_;
};

}  // namespace

std::optional<std::string> decodeToXml(std::string_view binary, const std::atomic<bool>& stop,
                                       std::string& xml) {
  xml.clear();
  // The XML is about seven times the binary.
  xml.reserve(binary.size() * 8 + 4096);
  StoppableSink sink(xml, stop);
  try {
    const auto written = serz::binToXml(binary, sink);
    if (stop.load()) return std::string("stopped");
    if (!written) return written.error().message();
  } catch (const std::bad_alloc&) {
    xml.clear();
    xml.shrink_to_fit();
    return std::string("not enough memory to convert it");
  }
  return std::nullopt;
}

}  // namespace vantrel::findfiles::detail
