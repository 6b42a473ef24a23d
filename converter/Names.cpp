#include "converter/Names.h"

namespace serz::names {
namespace {

bool isNameStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}
bool isNameChar(unsigned char c) { return isNameStart(c) || (c >= '0' && c <= '9') || c == '.'; }

}  // namespace

std::string whyNotWritable(std::string_view name) {
    if (name.empty()) return {};
    // "e" and "-" are how XML spells the empty name and "::", so a real
    // name using them would come back changed.
    if (name == "e") return "the element name \"e\" would read back as an empty name";
    if (name.find('-') != std::string_view::npos)
        return "the element name \"" + std::string(name) + "\" contains '-', which would read back as \"::\"";
    std::size_t i = 0;
    bool first = true;
    while (i < name.size()) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c == ':') {
            if (first || i + 1 >= name.size() || name[i + 1] != ':')
                return "the element name \"" + std::string(name) + "\" has a ':' that is not inside a \"::\" pair";
            i += 2;
            first = false;
            continue;
        }
        if (first ? !isNameStart(c) : !isNameChar(c))
            return "the element name \"" + std::string(name) + "\" is not a valid XML name";
        first = false;
        ++i;
    }
    return {};
}

void appendXmlName(OutBuf& out, std::string_view name) {
    if (name.empty()) {
        out.put('e');
        return;
    }
    for (std::size_t pos = 0;;) {
        const std::size_t sep = name.find("::", pos);
        if (sep == std::string_view::npos) {
            out.put(name.substr(pos));
            return;
        }
        out.put(name.substr(pos, sep - pos));
        out.put('-');
        pos = sep + 2;
    }
}

std::string toBinaryName(std::string_view xmlName) {
    if (xmlName == "e") return {};
    std::string out;
    out.reserve(xmlName.size() + 8);
    for (char c : xmlName) {
        if (c == '-')
            out += "::";
        else
            out += c;
    }
    return out;
}

}  // namespace serz::names
