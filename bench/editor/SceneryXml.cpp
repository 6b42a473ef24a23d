#include "bench/editor/SceneryXml.h"

#include <iterator>

namespace vantrel::bench {

namespace {

// Station names as real route files carry them: two-byte UTF-8 letters in
// German, Polish, Czech, French, Greek and Russian.
constexpr std::string_view kPlaceNames[] = {
    "München Hbf",   "Kąty Wrocławskie", "Třebíč město",   "Besançon-Viotte",
    "Αθήνα Λαρίσης", "Zürich Oerlikon",  "Москва Курская", "Göteborg Central",
};

}  // namespace

std::string makeSceneryXml(std::size_t bytes, std::string_view material, unsigned namedEvery) {
  std::string xml;
  xml.reserve(bytes + 256);
  xml += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
  xml += "<cRecordSet xmlns:d=\"http://www.example.com/Delta\" d:version=\"1.0\">\r\n";
  xml += "\t<Record>\r\n";
  const std::string closing = "\t</Record>\r\n</cRecordSet>\r\n";
  std::size_t named = 0;
  for (unsigned id = 100000; xml.size() + closing.size() < bytes; ++id) {
    xml += "\t\t<cEntity d:id=\"";
    xml += std::to_string(id);
    xml += "\">\r\n";
    if (namedEvery != 0 && id % namedEvery == 0) {
      xml += "\t\t\t<Name d:type=\"cDeltaString\">";
      xml += kPlaceNames[named++ % std::size(kPlaceNames)];
      xml += "</Name>\r\n";
    }
    xml += "\t\t\t<Material d:type=\"cDeltaString\">";
    xml += material;
    xml += "</Material>\r\n\t\t</cEntity>\r\n";
  }
  xml += closing;
  return xml;
}

void insertLineAt(std::string& xml, double fraction, std::string_view word) {
  std::size_t at = static_cast<std::size_t>(static_cast<double>(xml.size()) * fraction);
  at = xml.rfind('\n', at);
  at = at == std::string::npos ? 0 : at + 1;
  xml.insert(at, "\t\t<Note>" + std::string(word) + "</Note>\r\n");
}

}  // namespace vantrel::bench
