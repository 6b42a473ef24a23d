// Fuzzes the packed-file reader: whatever the bytes, opening, listing and
// reading every entry ends in members or a message, never a crash, and no
// member read yields more than the size it declares.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "archive/Archive.h"
#include "archive/MemberPath.h"

namespace {
// Small enough that no input makes the fuzzer hold much memory.
constexpr std::uint64_t kLimit = 4u << 20;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vantrel::archive::Archive archive;
  if (archive.openBytes(std::string(reinterpret_cast<const char*>(data), size), "fuzz.ap"))
    return 0;
  for (const auto& member : archive.members())
    if (!vantrel::archive::safeMemberPath(member.path)) std::abort();  // listed names are safe
  std::string content;
  const std::uint64_t entries = archive.entryCount();
  for (std::uint64_t index = 0; index < entries && index < 1000; ++index) {
    if (archive.readMember(index, content, kLimit)) continue;
    if (content.size() > kLimit) std::abort();
  }
  return 0;
}
