// zlib and libzip as the Windows programs link them: an archive written in
// memory with libzip, deflated and stored, read back through the
// packed-file reader, in a real Win32 process under Wine.
#include <gtest/gtest.h>
#include <zip.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "tests/archive/ArchiveTestSupport.h"

namespace {

struct MemberToWrite {
  const char* name;
  std::string content;
  zip_int32_t method;
};

// The bytes of a ZIP archive that libzip writes into memory.
std::string zipInMemory(const std::vector<MemberToWrite>& members) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  EXPECT_NE(buffer, nullptr);
  zip_source_keep(buffer);  // read back after the archive is closed
  zip_t* zip = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  EXPECT_NE(zip, nullptr) << zip_error_strerror(&error);
  for (const MemberToWrite& m : members) {
    void* copy = std::malloc(m.content.size());
    std::memcpy(copy, m.content.data(), m.content.size());
    zip_source_t* source = zip_source_buffer(zip, copy, m.content.size(), 1);
    const zip_int64_t index = zip_file_add(zip, m.name, source, ZIP_FL_ENC_UTF_8);
    EXPECT_GE(index, 0) << zip_strerror(zip);
    zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), m.method, 9);
  }
  EXPECT_EQ(zip_close(zip), 0);

  std::string bytes;
  zip_stat_t stat;
  EXPECT_EQ(zip_source_stat(buffer, &stat), 0);
  EXPECT_EQ(zip_source_open(buffer), 0);
  bytes.resize(static_cast<std::size_t>(stat.size));
  EXPECT_EQ(zip_source_read(buffer, bytes.data(), stat.size), static_cast<zip_int64_t>(stat.size));
  zip_source_close(buffer);
  zip_source_free(buffer);
  zip_error_fini(&error);
  return bytes;
}

TEST(ZipLibraries, HeadersMatchTheLinkedLibrariesAndOnlyDeflateAndStoreAreBuiltIn) {
  EXPECT_STREQ(zlibVersion(), ZLIB_VERSION);
  EXPECT_TRUE(zip_compression_method_supported(ZIP_CM_DEFLATE, 1));
  EXPECT_TRUE(zip_compression_method_supported(ZIP_CM_STORE, 1));
  EXPECT_FALSE(zip_compression_method_supported(ZIP_CM_BZIP2, 0));
  EXPECT_FALSE(zip_compression_method_supported(ZIP_CM_XZ, 0));
}

TEST(ZipLibraries, ArchiveWrittenInMemoryReadsBackByteForByte) {
  const std::string oak = vantrel::test::serzContent("oak", 200000);
  const std::string horn = vantrel::test::serzContent("horn", 3000);
  const std::string bytes = zipInMemory({{"Scenery/Trees/Oak.bin", oak, ZIP_CM_DEFLATE},
                                         {"Audio/Horn.bin", horn, ZIP_CM_STORE},
                                         {"readme.txt", "not a SERZ file", ZIP_CM_DEFLATE}});
  ASSERT_LT(bytes.size(), oak.size() / 4) << "the large member was not deflated";

  vantrel::archive::Archive archive;
  ASSERT_EQ(archive.openBytes(bytes, "MainContent.ap"), std::nullopt);
  EXPECT_EQ(archive.entryCount(), 3u);
  ASSERT_EQ(archive.members().size(), 2u);
  EXPECT_EQ(archive.members()[0].path, "Audio/Horn.bin");
  EXPECT_EQ(archive.members()[1].path, "Scenery/Trees/Oak.bin");
  EXPECT_EQ(archive.members()[1].size, oak.size());

  std::string content;
  ASSERT_EQ(archive.readMember(archive.members()[1].index, content), std::nullopt);
  EXPECT_TRUE(content == oak);
  ASSERT_EQ(archive.readMember(archive.members()[0].index, content), std::nullopt);
  EXPECT_TRUE(content == horn);
}

// A damaged deflate stream is caught by zlib and reported, not unpacked.
TEST(ZipLibraries, DamagedDeflatedMemberIsRefused) {
  std::string bytes = zipInMemory({{"Oak.bin", vantrel::test::noise(50000), ZIP_CM_DEFLATE}});
  // Well inside the compressed data, which follows the 30-byte local
  // header and the name; the member's first bytes stay readable.
  const std::size_t middle = 30 + std::strlen("Oak.bin") + 25000;
  for (std::size_t i = middle; i < middle + 64; ++i) bytes[i] = static_cast<char>(~bytes[i]);

  vantrel::archive::Archive archive;
  ASSERT_EQ(archive.openBytes(bytes, "Damaged.ap"), std::nullopt);
  ASSERT_EQ(archive.members().size(), 1u);
  std::string content;
  EXPECT_NE(archive.readMember(archive.members()[0].index, content), std::nullopt);
  EXPECT_TRUE(content.empty());
}

}  // namespace
