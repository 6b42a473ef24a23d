#pragma once
#include <zip.h>
#include <zlib.h>

#include <cstddef>
#include <string_view>

// The first bytes of many members, read as cheaply as possible: listing a
// product's archive reads the start of every one of its 10,000+ members.
// Through libzip's decompressing reader each deflated member costs a fresh
// inflater and an 8 KB read; here one inflater is reset for every member
// and only the packed bytes the first block needs are read (a fraction of
// a kilobyte), which halves the time of a listing. Stored members are read
// as they are; other methods go through libzip.
namespace vantrel::archive {

class MemberStart {
 public:
  MemberStart();
  ~MemberStart();
  MemberStart(const MemberStart&) = delete;
  MemberStart& operator=(const MemberStart&) = delete;

  enum class Start {
    Matches,     // the unpacked content starts with the prefix
    Differs,     // it does not, or is shorter
    Unreadable,  // encrypted, damaged, or packed by a method libzip lacks
  };
  // How the member's unpacked content starts, compared with prefix (at
  // most 16 bytes).
  Start compare(zip_t* archive, zip_uint64_t index, const zip_stat_t& stat,
                std::string_view prefix);

 private:
  // Unpacks up to count bytes into out: how many, or -1 for damaged data.
  std::ptrdiff_t readDeflated(zip_file_t* file, unsigned char* out, std::size_t count);

  z_stream inflater_{};
  bool ready_ = false;
};

}  // namespace vantrel::archive
