// Fuzzes XML -> binary. Any binary we write must decode again, and its XML
// must be a fixed point of the XML -> binary -> XML round trip. The XML read
// in small pieces (their size taken from the input) must give the same
// binary, or the same error at the same line and column, as read whole.

#include "converter/Codec.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view xml(reinterpret_cast<const char*>(data), size);
  auto bin = serz::xmlToBin(xml);
  serz::TextSource source(xml, size ? 1 + data[size - 1] % 13 : 1);
  auto pieces = serz::xmlToBin(source, size);
  if (bin.ok() != pieces.ok()) std::abort();
  if (bin.ok() && bin.value() != pieces.value()) std::abort();
  if (!bin.ok() &&
      (bin.error().line != pieces.error().line || bin.error().column != pieces.error().column ||
       bin.error().reason != pieces.error().reason))
    std::abort();
  if (!bin) return 0;
  auto xml2 = serz::binToXml(bin.value());
  if (!xml2) std::abort();  // our own binary must read back
  auto bin2 = serz::xmlToBin(xml2.value());
  if (!bin2) std::abort();
  auto xml3 = serz::binToXml(bin2.value());
  if (!xml3 || xml3.value() != xml2.value()) std::abort();
  return 0;
}
