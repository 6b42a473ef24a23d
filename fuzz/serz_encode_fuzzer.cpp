// Fuzzes XML -> binary. Any binary we write must decode again, and its XML
// must be a fixed point of the XML -> binary -> XML round trip.

#include "converter/Codec.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view xml(reinterpret_cast<const char*>(data), size);
  auto bin = serz::xmlToBin(xml);
  if (!bin) return 0;
  auto xml2 = serz::binToXml(bin.value());
  if (!xml2) std::abort();  // our own binary must read back
  auto bin2 = serz::xmlToBin(xml2.value());
  if (!bin2) std::abort();
  auto xml3 = serz::binToXml(bin2.value());
  if (!xml3 || xml3.value() != xml2.value()) std::abort();
  return 0;
}
