#include "converter/TextFormat.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace serz::text {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void appendDouble(OutBuf& out, double v, std::chars_format fmt, int precision) {
    // NaN: C libraries print the sign too; to_chars agrees on glibc but not
    // everywhere, so spell it out.
    if (std::isnan(v)) {
        if (std::signbit(v)) out.put('-');
        out.lit("nan");
        return;
    }
    // Fixed form of a huge double needs about 310 digits plus the decimals.
    char* p = out.room(400);
    const auto r = std::to_chars(p, p + 400, v, fmt, precision);
    out.advance(static_cast<std::size_t>(r.ptr - p));
}

}  // namespace

void appendG(OutBuf& out, double v) { appendDouble(out, v, std::chars_format::general, 6); }

std::size_t formatG(char* buf, double v) {
    if (std::isnan(v)) {
        const char* text = std::signbit(v) ? "-nan" : "nan";
        std::memcpy(buf, text, std::strlen(text));
        return std::strlen(text);
    }
    return static_cast<std::size_t>(std::to_chars(buf, buf + 64, v, std::chars_format::general, 6).ptr - buf);
}

void appendFixed7(OutBuf& out, double v) { appendDouble(out, v, std::chars_format::fixed, 7); }

void appendHexLE(OutBuf& out, std::uint64_t bits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    char* p = out.room(16);
    for (int i = 0; i < 8; ++i) {
        const unsigned byte = static_cast<unsigned>(bits >> (8 * i)) & 0xFF;
        p[2 * i] = kDigits[byte >> 4];
        p[2 * i + 1] = kDigits[byte & 15];
    }
    out.advance(16);
}

void appendUnsigned(OutBuf& out, std::uint64_t v) {
    char* p = out.room(20);
    out.advance(static_cast<std::size_t>(std::to_chars(p, p + 20, v).ptr - p));
}

void appendSigned(OutBuf& out, std::int64_t v) {
    char* p = out.room(20);
    out.advance(static_cast<std::size_t>(std::to_chars(p, p + 20, v).ptr - p));
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

Parse parseSigned(std::string_view s, std::int64_t min, std::int64_t max, std::int64_t& out) {
    s = trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return Parse::NotANumber;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    if (r.ec == std::errc::result_out_of_range) return Parse::OutOfRange;
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return Parse::NotANumber;
    return out < min || out > max ? Parse::OutOfRange : Parse::Ok;
}

Parse parseUnsigned(std::string_view s, std::uint64_t max, std::uint64_t& out) {
    s = trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return Parse::NotANumber;
    if (s.front() == '-') {
        // "-0" is zero; any other negative number is out of range.
        std::int64_t neg = 0;
        const Parse p = parseSigned(s, std::numeric_limits<std::int64_t>::min(), 0, neg);
        if (p == Parse::NotANumber) return p;
        if (p == Parse::Ok && neg == 0) {
            out = 0;
            return Parse::Ok;
        }
        return Parse::OutOfRange;
    }
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    if (r.ec == std::errc::result_out_of_range) return Parse::OutOfRange;
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return Parse::NotANumber;
    return out > max ? Parse::OutOfRange : Parse::Ok;
}

Parse parseDouble(std::string_view s, double& out) {
    s = trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return Parse::NotANumber;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    if (r.ptr != s.data() + s.size()) return Parse::NotANumber;
    if (r.ec == std::errc::result_out_of_range) {
        // from_chars leaves `out` alone here; tiny values go to zero, huge
        // ones are too large for any type we write.
        return Parse::OutOfRange;
    }
    return r.ec == std::errc() ? Parse::Ok : Parse::NotANumber;
}

std::optional<std::uint64_t> parseHexLE(std::string_view s) {
    s = trim(s);
    if (s.size() != 16) return std::nullopt;
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) {
        const int hi = hexDigit(s[2 * i]), lo = hexDigit(s[2 * i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bits |= static_cast<std::uint64_t>(hi * 16 + lo) << (8 * i);
    }
    return bits;
}

}  // namespace serz::text
