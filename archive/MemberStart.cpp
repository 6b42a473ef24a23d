#include "archive/MemberStart.h"

#include <cstring>

namespace vantrel::archive {

namespace {

// A deflate stream's first block needs its code tables (a few hundred bytes
// at most) before any output; a hostile one may put off output for long, so
// reading gives up after this much packed data.
constexpr std::size_t kPackedPiece = 512;
constexpr std::size_t kPackedLimit = 64 * 1024;

struct OpenFile {
  zip_file_t* file;
  ~OpenFile() {
    if (file) zip_fclose(file);
  }
};

}  // namespace

MemberStart::MemberStart() {
  // Raw deflate (negative window bits): the ZIP member holds no zlib header.
  ready_ = inflateInit2(&inflater_, -MAX_WBITS) == Z_OK;
}

MemberStart::~MemberStart() {
  if (ready_) inflateEnd(&inflater_);
}

MemberStart::Start MemberStart::compare(zip_t* archive, zip_uint64_t index, const zip_stat_t& stat,
                                        std::string_view prefix) {
  unsigned char start[16];
  if (prefix.size() > sizeof start) return Start::Differs;
  if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
    return Start::Unreadable;
  if ((stat.valid & ZIP_STAT_SIZE) && stat.size < prefix.size()) return Start::Differs;
  const bool known = stat.valid & ZIP_STAT_COMP_METHOD;
  const bool raw =
      known && (stat.comp_method == ZIP_CM_STORE || (stat.comp_method == ZIP_CM_DEFLATE && ready_));
  OpenFile member{zip_fopen_index(archive, index, raw ? ZIP_FL_COMPRESSED : 0)};
  if (!member.file) return Start::Unreadable;
  const std::ptrdiff_t got = raw && stat.comp_method == ZIP_CM_DEFLATE
                                 ? readDeflated(member.file, start, prefix.size())
                                 : zip_fread(member.file, start, prefix.size());
  if (got < 0) return Start::Unreadable;
  return static_cast<std::size_t>(got) == prefix.size() &&
                 std::memcmp(start, prefix.data(), prefix.size()) == 0
             ? Start::Matches
             : Start::Differs;
}

std::ptrdiff_t MemberStart::readDeflated(zip_file_t* file, unsigned char* out, std::size_t count) {
  if (inflateReset(&inflater_) != Z_OK) return -1;
  inflater_.next_out = out;
  inflater_.avail_out = static_cast<uInt>(count);
  unsigned char packed[kPackedPiece];
  for (std::size_t read = 0; read < kPackedLimit && inflater_.avail_out > 0;) {
    const zip_int64_t n = zip_fread(file, packed, sizeof packed);
    if (n <= 0) break;
    read += static_cast<std::size_t>(n);
    inflater_.next_in = packed;
    inflater_.avail_in = static_cast<uInt>(n);
    const int status = inflate(&inflater_, Z_NO_FLUSH);
    if (status == Z_STREAM_END) break;
    if (status != Z_OK && status != Z_BUF_ERROR) return -1;
  }
  return static_cast<std::ptrdiff_t>(count - inflater_.avail_out);
}

}  // namespace vantrel::archive
