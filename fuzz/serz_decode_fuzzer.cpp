// Fuzzes binary -> XML. Whatever decodes must also survive XML -> binary ->
// XML unchanged, since that is the editor's round trip.

#include "converter/Codec.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bin(reinterpret_cast<const char*>(data), size);
  auto xml = serz::binToXml(bin);
  if (!xml) return 0;
  auto again = serz::xmlToBin(xml.value());
  if (!again) std::abort();  // our own XML must read back
  auto xml2 = serz::binToXml(again.value());
  if (!xml2 || xml2.value() != xml.value()) std::abort();
  return 0;
}
