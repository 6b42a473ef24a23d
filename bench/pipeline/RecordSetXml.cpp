#include "bench/pipeline/RecordSetXml.h"

namespace vantrel::bench {

std::string makeRecordSetXml(std::size_t targetBytes) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
      "<cRecordSet xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\" "
      "d:id=\"1259951080\">\r\n\t<Record>\r\n";
  for (long id = 1000000; xml.size() < targetBytes; ++id) {
    const std::string n = std::to_string(id);
    xml += "\t\t<Network-cSpawnPointDestination d:id=\"" + n + "\">\r\n";
    xml +=
        "\t\t\t<EntityTargetName d:type=\"cDeltaString\">Platform" + n + "</EntityTargetName>\r\n";
    xml += "\t\t\t<FriendlyName d:type=\"cDeltaString\">Station " + n + "</FriendlyName>\r\n";
    xml += "\t\t\t<AlwaysGoVia d:type=\"bool\">" + std::string(id % 2 ? "1" : "0") +
           "</AlwaysGoVia>\r\n";
    xml += "\t\t\t<Offset d:type=\"sInt32\">" + std::to_string(id % 977 - 400) + "</Offset>\r\n";
    xml += "\t\t</Network-cSpawnPointDestination>\r\n";
  }
  xml += "\t</Record>\r\n</cRecordSet>\r\n";
  return xml;
}

}  // namespace vantrel::bench
