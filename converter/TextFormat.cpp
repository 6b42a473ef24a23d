#include "converter/TextFormat.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace serz::text {
namespace {

constexpr int kDigits = 17;

// A positive finite value as 17 significant digits: digit i has the weight
// 10^(exponent - i). Digits past the 17th are zero.
struct Decimal {
  char digits[kDigits];
  int exponent;

  char digit(int i) const { return i >= 0 && i < kDigits ? digits[i] : '0'; }

  // Keeps the first `keep` digits, rounding half away from zero.
  void roundTo(int keep) {
    if (keep >= kDigits) return;
    if (keep < 0) {
      setZero();
      return;
    }
    const bool up = digits[keep] >= '5';
    std::memset(digits + keep, '0', static_cast<std::size_t>(kDigits - keep));
    if (!up) {
      if (keep == 0) setZero();
      return;
    }
    for (int i = keep - 1; i >= 0; --i) {
      if (digits[i] != '9') {
        ++digits[i];
        return;
      }
      digits[i] = '0';
    }
    // All nines (or nothing kept): one unit of the next higher place.
    digits[0] = '1';
    ++exponent;
  }

  void setZero() {
    std::memset(digits, '0', kDigits);
    exponent = 0;
  }
  bool isZero() const { return digits[0] == '0'; }
};

Decimal decimal(double magnitude) {
  char buf[40];
  const auto r =
      std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, kDigits - 1);
  // "d.dddddddddddddddde+XX"
  Decimal d;
  d.digits[0] = buf[0];
  std::memcpy(d.digits + 1, buf + 2, kDigits - 1);
  const char* e = buf + kDigits + 2;  // the exponent's sign, after the 'e'
  int exponent = 0;
  std::from_chars(e + 1, r.ptr, exponent);
  d.exponent = *e == '-' ? -exponent : exponent;
  return d;
}

// inf, -inf, nan, -nan; null for finite values.
const char* special(double v) {
  if (std::isnan(v)) return std::signbit(v) ? "-nan" : "nan";
  if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
  return nullptr;
}

char* putText(char* p, const char* s) {
  const std::size_t n = std::strlen(s);
  std::memcpy(p, s, n);
  return p + n;
}

// %g with 6 significant digits into p (at most 16 characters).
char* writeG(char* p, double v) {
  constexpr int kPrecision = 6;
  if (const char* s = special(v)) return putText(p, s);
  if (std::signbit(v)) *p++ = '-';
  if (v == 0) {
    *p++ = '0';
    return p;
  }
  Decimal d = decimal(std::fabs(v));
  d.roundTo(kPrecision);
  int last = kPrecision - 1;  // last digit worth printing
  while (last > 0 && d.digits[last] == '0') --last;
  const int x = d.exponent;
  if (x < -4 || x >= kPrecision) {
    *p++ = d.digits[0];
    if (last > 0) {
      *p++ = '.';
      std::memcpy(p, d.digits + 1, static_cast<std::size_t>(last));
      p += last;
    }
    *p++ = 'e';
    *p++ = x < 0 ? '-' : '+';
    const int e = x < 0 ? -x : x;
    *p++ = static_cast<char>('0' + e / 100);
    *p++ = static_cast<char>('0' + e / 10 % 10);
    *p++ = static_cast<char>('0' + e % 10);
    return p;
  }
  if (x >= 0) {
    std::memcpy(p, d.digits, static_cast<std::size_t>(x + 1));
    p += x + 1;
    if (last > x) {
      *p++ = '.';
      std::memcpy(p, d.digits + x + 1, static_cast<std::size_t>(last - x));
      p += last - x;
    }
    return p;
  }
  *p++ = '0';
  *p++ = '.';
  for (int i = x + 1; i < 0; ++i) *p++ = '0';
  std::memcpy(p, d.digits, static_cast<std::size_t>(last + 1));
  return p + last + 1;
}

constexpr std::uint64_t kTenPow7 = 10'000'000;

// 7 decimals of `scaled` (the value times 10^7, rounded) after its integer part.
char* writeScaled(char* p, std::uint64_t scaled) {
  p = std::to_chars(p, p + 24, scaled / kTenPow7).ptr;
  *p++ = '.';
  std::uint64_t frac = scaled % kTenPow7;
  for (int i = 6; i >= 0; --i) {
    p[i] = static_cast<char>('0' + frac % 10);
    frac /= 10;
  }
  return p + 7;
}

// |v| * 10^7 rounded half away from zero, computed exactly in integers, for
// the values that allow it: a mantissa of at most 30 bits (every float) and
// a magnitude below 2^33. Then the text has at most 17 significant digits,
// and no value that close to a halfway point gets there by the runtime's
// rounding to 17 digits first, so the result is the runtime's.
bool scaledExactly(double magnitude, std::uint64_t& scaled) {
  if (magnitude >= 8589934592.0) return false;  // 2^33
  if (magnitude == 0) {
    scaled = 0;
    return true;
  }
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const int biased = static_cast<int>(bits >> 52);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int exponent;  // magnitude = mantissa * 2^exponent
  if (biased == 0) {
    exponent = -1074;
  } else {
    mantissa |= std::uint64_t{1} << 52;
    exponent = biased - 1075;
  }
  const int zeros = std::countr_zero(mantissa);
  mantissa >>= zeros;
  exponent += zeros;
  if (mantissa >= (std::uint64_t{1} << 30)) return false;
  const std::uint64_t n = mantissa * kTenPow7;  // below 2^54
  if (exponent >= 0) {
    scaled = n << exponent;  // the value is below 2^33, so this stays below 2^57
    return true;
  }
  const int shift = -exponent;
  if (shift > 63) return false;
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  scaled = (n >> shift) + ((n & ((half << 1) - 1)) >= half ? 1 : 0);
  return true;
}

char* writeFixed7(char* p, double v) {
  constexpr int kDecimals = 7;
  if (const char* s = special(v)) return putText(p, s);
  if (std::signbit(v)) *p++ = '-';
  const double magnitude = std::fabs(v);
  std::uint64_t scaled;
  if (scaledExactly(magnitude, scaled)) return writeScaled(p, scaled);
  Decimal d = decimal(magnitude);
  d.roundTo(d.exponent + 1 + kDecimals);
  if (d.isZero() || d.exponent < 0) {
    *p++ = '0';
  } else {
    for (int i = 0; i <= d.exponent; ++i) *p++ = d.digit(i);
  }
  *p++ = '.';
  for (int j = 1; j <= kDecimals; ++j) *p++ = d.isZero() ? '0' : d.digit(d.exponent + j);
  return p;
}

}  // namespace

void appendG(OutBuf& out, double v) {
  char* p = out.room(32);
  out.advance(static_cast<std::size_t>(writeG(p, v) - p));
}

std::size_t formatG(char* buf, double v) { return static_cast<std::size_t>(writeG(buf, v) - buf); }

void appendFixed7(OutBuf& out, double v) {
  // A huge double has up to 309 integer digits.
  char* p = out.room(400);
  out.advance(static_cast<std::size_t>(writeFixed7(p, v) - p));
}

void appendHexLE(OutBuf& out, std::uint64_t bits) {
  char* p = out.room(16);
  for (int i = 0; i < 8; ++i) {
    const unsigned byte = static_cast<unsigned>(bits >> (8 * i)) & 0xFF;
    p[2 * i] = kHexDigits[byte >> 4];
    p[2 * i + 1] = kHexDigits[byte & 15];
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
  // The Microsoft runtime's spellings of infinity and NaN.
  const bool negative = s.front() == '-';
  const std::string_view body = negative ? s.substr(1) : s;
  if (body.starts_with("1.#")) {
    const std::string_view word = body.substr(3);
    double v;
    if (word.starts_with("INF"))
      v = std::numeric_limits<double>::infinity();
    else if (word.starts_with("QNAN") || word.starts_with("SNAN") || word.starts_with("IND"))
      v = std::numeric_limits<double>::quiet_NaN();
    else
      return Parse::NotANumber;
    const std::size_t letters = word.starts_with("INF") || word.starts_with("IND") ? 3 : 4;
    if (word.find_first_not_of('0', letters) != std::string_view::npos) return Parse::NotANumber;
    out = negative ? -v : v;
    return Parse::Ok;
  }
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
