#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "ArchiveTestSupport.h"

using namespace vantrel;
using archive::Archive;
using test::TempFolder;
using test::ZipBuilder;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> filesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// An archive of one deflated member, its bytes patched by change.
template <typename Change>
std::string damagedArchive(const TempFolder& dir, const std::string& content, Change change) {
  const std::string path = dir.file("Damaged.ap");
  {
    ZipBuilder zip(path);
    zip.add("Scenery/Tree.bin", content);
    zip.close();
  }
  std::string bytes = test::readBytes(path);
  change(bytes);
  test::writeBytes(path, bytes);
  return path;
}

}  // namespace

// Stored, deflated, and larger than one read: the file holds exactly the
// member's bytes, and no temporary file stays beside it.
TEST(ArchiveExtract, WritesTheMemberByteForByte) {
  TempFolder dir;
  const std::string path = dir.file("MainContent.ap");
  const std::string stored = test::serzContent("stored", 777);
  const std::string deflated = test::serzContent("deflated", 100000);
  const std::string large = test::noise(3 * 1024 * 1024 + 17);
  {
    ZipBuilder zip(path);
    zip.add("a/Stored.bin", stored, ZIP_CM_STORE);
    zip.add("a/Deflated.bin", deflated);
    zip.add("a/Large.bin", large);
    zip.close();
  }
  Archive a;
  ASSERT_EQ(a.open(path), std::nullopt);
  ASSERT_EQ(a.members().size(), 3u);
  fs::create_directory(dir.path() / "out");
  const std::map<std::string, const std::string*> expected = {
      {"a/Deflated.bin", &deflated}, {"a/Large.bin", &large}, {"a/Stored.bin", &stored}};
  for (const auto& m : a.members()) {
    const std::string to = (dir.path() / "out" / test::shortName(m.path)).string();
    ASSERT_EQ(a.extractMember(m.index, to), std::nullopt) << m.path;
    EXPECT_TRUE(test::readBytes(to) == *expected.at(m.path)) << m.path;
  }
  EXPECT_EQ(filesIn(dir.path() / "out"),
            (std::vector<std::string>{"Deflated.bin", "Large.bin", "Stored.bin"}));

  // An older file at the destination is replaced.
  const std::string again = (dir.path() / "out" / "Stored.bin").string();
  test::writeBytes(again, "old");
  ASSERT_EQ(a.extractMember(a.members()[2].index, again), std::nullopt);
  EXPECT_EQ(test::readBytes(again), stored);
}

TEST(ArchiveExtract, RealSerzFileFromTheFixtures) {
  const fs::path fixtures = fs::path(VANTREL_SHARED_DIR) / "fixtures" / "serz";
  fs::path bin;
  if (fs::is_directory(fixtures))
    for (const auto& entry : fs::directory_iterator(fixtures))
      if (entry.path().extension() == ".bin") bin = entry.path();
  if (bin.empty()) GTEST_SKIP() << "no .bin fixture in " << fixtures.string();

  TempFolder dir;
  const std::string content = test::readBytes(bin.string());
  const std::string path = dir.file("MainContent.ap");
  {
    ZipBuilder zip(path);
    zip.add("Scenery/" + bin.filename().string(), content);
    zip.close();
  }
  Archive a;
  ASSERT_EQ(a.open(path), std::nullopt);
  ASSERT_EQ(a.members().size(), 1u);
  EXPECT_EQ(a.members()[0].path, "Scenery/" + bin.filename().string());
  const std::string to = dir.file("out.bin");
  ASSERT_EQ(a.extractMember(a.members()[0].index, to), std::nullopt);
  EXPECT_TRUE(test::readBytes(to) == content);
}

// Every refusal says which member and why, and leaves the folder as it was:
// no file, no temporary file, an existing file untouched.
TEST(ArchiveExtract, RefusalsWriteNothing) {
  TempFolder dir;
  const std::string path = dir.file("Mixed.ap");
  bool encrypted = false;
  zip_uint64_t big = 0, escape = 0;
  {
    ZipBuilder zip(path);
    big = zip.add("Big.bin", test::serzContent("big", 5000));
    escape = zip.add("../Escape.bin", test::serzContent("escape"));
    zip.addFolder("Folder/");
    encrypted = zip.addEncrypted("Secret.bin", test::serzContent("secret"));
    zip.close();
  }
  Archive a;
  ASSERT_EQ(a.open(path), std::nullopt);
  fs::create_directory(dir.path() / "out");
  const std::string to = (dir.path() / "out" / "x.bin").string();
  test::writeBytes(to, "keep");

  EXPECT_EQ(a.extractMember(big, to, 4096),
            "Big.bin in Mixed.ap is 4.9 KB, more than the 4.0 KB the editor can hold");
  EXPECT_EQ(a.extractMember(escape, to),
            "\"../Escape.bin\" in Mixed.ap has a name that leads outside the archive's folder");
  EXPECT_EQ(a.extractMember(2, to), "Folder in Mixed.ap is a folder");
  if (encrypted)
    EXPECT_EQ(a.extractMember(3, to), "Secret.bin in Mixed.ap is encrypted");
  else
    std::cout << "This libzip cannot write AES encryption: no encrypted member tested\n";
  EXPECT_EQ(a.extractMember(99, to), "Mixed.ap has no member number 99");
  EXPECT_TRUE(a.extractMember(big, (dir.path() / "missing" / "x.bin").string())
                  ->starts_with("cannot write "));
  EXPECT_EQ(test::readBytes(to), "keep");
  EXPECT_EQ(filesIn(dir.path() / "out"), std::vector<std::string>{"x.bin"});

  std::string content = "stale";
  EXPECT_TRUE(a.readMember(big, content, 4096));
  EXPECT_EQ(content, "");
  EXPECT_EQ(Archive().extractMember(0, to), "no packed file is open");
}

// A member that unpacks to more than it declares: reading stops at the first
// byte past the declared size, and nothing is written.
TEST(ArchiveExtract, ZipBombStopsAtTheDeclaredSize) {
  TempFolder dir;
  const std::string content = test::serzContent("bomb", 1 << 20);  // 1 MB, deflates to ~1 KB
  const std::string path =
      damagedArchive(dir, content, [](std::string& bytes) { test::setDeclaredSize(bytes, 1000); });
  Archive a;
  ASSERT_EQ(a.open(path), std::nullopt);
  ASSERT_EQ(a.members().size(), 1u);
  EXPECT_EQ(a.members()[0].size, 1000u);
  const std::string to = dir.file("Tree.bin");
  EXPECT_EQ(a.extractMember(a.members()[0].index, to),
            "Scenery/Tree.bin in Damaged.ap unpacks to more than the 1000 bytes it declares: the "
            "packed file is damaged or built to do harm");
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"Damaged.ap"});
  std::string read;
  EXPECT_TRUE(a.readMember(a.members()[0].index, read));
  EXPECT_TRUE(read.empty());
}

// Fewer bytes than declared, data that does not inflate, a wrong checksum.
TEST(ArchiveExtract, DamagedMembersAreErrors) {
  TempFolder dir;
  const std::string content = test::serzContent("tree", 20000);
  struct Case {
    const char* what;
    void (*change)(std::string&);
    const char* message;  // its start
  };
  const Case cases[] = {
      {"declared larger", [](std::string& bytes) { test::setDeclaredSize(bytes, 30000); },
       "Scenery/Tree.bin in Damaged.ap is cut short: 20000 of 30000 bytes"},
      {"deflate data garbled",
       [](std::string& bytes) {
         // The deflated data starts after the local header and the name.
         for (std::size_t i = 30 + 16 + 4; i < 30 + 16 + 40; ++i) bytes[i] = '\xff';
       },
       "Scenery/Tree.bin in Damaged.ap is damaged: "},
      {"checksum wrong",
       [](std::string& bytes) {
         test::putU32(bytes, 14, test::getU32(bytes, 14) ^ 1);
         test::putU32(bytes, bytes.rfind("PK\x01\x02") + 16, test::getU32(bytes, 14));
       },
       "Scenery/Tree.bin in Damaged.ap is damaged: "},
      {"unknown packing method",
       [](std::string& bytes) {
         bytes[8] = 97;  // WavPack, in the local header and the central entry (99 means AES)
         bytes[bytes.rfind("PK\x01\x02") + 10] = 97;
       },
       "Scenery/Tree.bin in Damaged.ap cannot be read: "},
  };
  for (const Case& c : cases) {
    const std::string path = damagedArchive(dir, content, c.change);
    Archive a;
    ASSERT_EQ(a.open(path), std::nullopt) << c.what;
    const std::string to = dir.file("Tree.bin");
    const auto message = a.extractMember(0, to);
    ASSERT_TRUE(message) << c.what;
    EXPECT_TRUE(message->starts_with(c.message)) << c.what << ": " << *message;
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"Damaged.ap"}) << c.what;
    // The listing cannot tell such a member: it is refused rather than hidden.
    if (c.what == std::string("unknown packing method")) {
      ASSERT_EQ(a.refused().size(), 1u);
      EXPECT_EQ(a.refused()[0].reason, "cannot be read: it is damaged or packed in an unknown way");
    }
  }
}
