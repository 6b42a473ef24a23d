// serz IN xml:OUT   binary to XML
// serz IN bin:OUT   XML to binary
// Exit status: 0 done, 1 bad input or a file problem (one line on standard
// error), 2 wrong command line.
//
// OUT is replaced only when the conversion succeeded. The XML is written to
// the file as it is made, so it can be far larger than the memory at hand.

#include "converter/Codec.h"
#include "converter/FileIo.h"

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <string_view>

namespace {

constexpr const char* kUsage = "usage: serz IN xml:OUT (binary to XML) | serz IN bin:OUT (XML to binary)\n";

int failWith(const std::string& file, const std::string& message) {
    std::fprintf(stderr, "serz: %s: %s\n", file.c_str(), message.c_str());
    return 1;
}

int toXml(const std::string& in, const std::string& input, const std::string& out) {
    serz::io::ReplacingFile file;
    if (!file.open(out)) return failWith(out, "cannot write: " + file.error());
    auto written = serz::binToXml(input, file);
    if (!written) {
        if (file.failed()) return failWith(out, "cannot write: " + file.error());
        return failWith(in, written.error().message());
    }
    if (!file.commit()) return failWith(out, "cannot write: " + file.error());
    return 0;
}

int toBin(const std::string& in, const std::string& input, const std::string& out) {
    auto converted = serz::xmlToBin(input);
    if (!converted) return failWith(in, converted.error().message());
    std::string error;
    if (!serz::io::writeFileReplacing(out, converted.value(), error)) return failWith(out, "cannot write: " + error);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string in = argv[1];
    const std::string_view target = argv[2];
    const bool toXmlForm = target.starts_with("xml:");
    const bool toBinForm = target.starts_with("bin:");
    if (in.empty() || (!toXmlForm && !toBinForm) || target.size() == 4) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string out(target.substr(4));

    try {
        std::string input, error;
        if (!serz::io::readFile(in, input, error)) return failWith(in, "cannot read: " + error);
        return toXmlForm ? toXml(in, input, out) : toBin(in, input, out);
    } catch (const std::bad_alloc&) {
        return failWith(in, "not enough memory for the conversion");
    } catch (const std::exception& e) {
        return failWith(in, e.what());
    }
}
