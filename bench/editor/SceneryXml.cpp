#include "bench/editor/SceneryXml.h"

namespace vantrel::bench {

std::string makeSceneryXml(std::size_t bytes, std::string_view material) {
  std::string xml;
  xml.reserve(bytes + 256);
  xml += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
  xml += "<cRecordSet xmlns:d=\"http://www.example.com/Delta\" d:version=\"1.0\">\r\n";
  xml += "\t<Record>\r\n";
  const std::string closing = "\t</Record>\r\n</cRecordSet>\r\n";
  for (unsigned id = 100000; xml.size() + closing.size() < bytes; ++id) {
    xml += "\t\t<cEntity d:id=\"";
    xml += std::to_string(id);
    xml += "\">\r\n\t\t\t<Material d:type=\"cDeltaString\">";
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
