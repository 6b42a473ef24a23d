// serz IN xml:OUT   binary to XML
// serz IN bin:OUT   XML to binary
// Exit status: 0 done, 1 bad input or a file problem (one line on standard
// error), 2 wrong command line.

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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string in = argv[1];
    const std::string_view target = argv[2];
    const bool toXml = target.starts_with("xml:");
    const bool toBin = target.starts_with("bin:");
    if (in.empty() || (!toXml && !toBin) || target.size() == 4) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string out(target.substr(4));

    try {
        std::string input, error;
        if (!serz::io::readFile(in, input, error)) return failWith(in, "cannot read: " + error);

        auto converted = toXml ? serz::binToXml(input) : serz::xmlToBin(input);
        if (!converted) {
            const serz::Error& e = converted.error();
            return failWith(in, e.position() + ": " + e.reason);
        }
        if (!serz::io::writeFileReplacing(out, converted.value(), error))
            return failWith(out, "cannot write: " + error);
        return 0;
    } catch (const std::bad_alloc&) {
        return failWith(in, "not enough memory for the conversion");
    } catch (const std::exception& e) {
        return failWith(in, e.what());
    }
}
