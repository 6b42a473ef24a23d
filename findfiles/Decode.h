#pragma once
#include <atomic>
#include <optional>
#include <string>
#include <string_view>

// A SERZ file's bytes to exactly the XML the serz command writes, in
// memory, giving up soon after stop is set.
namespace vantrel::findfiles::detail {

// The XML in xml; otherwise why not ("stopped" when stop was set).
std::optional<std::string> decodeToXml(std::string_view binary, const std::atomic<bool>& stop,
                                       std::string& xml);

}  // namespace vantrel::findfiles::detail
