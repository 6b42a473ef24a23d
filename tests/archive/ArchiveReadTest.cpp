#include <gtest/gtest.h>

#include <filesystem>

#include "ArchiveTestSupport.h"
#include "archive/ZipSignature.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace vantrel;
using archive::Archive;
using test::TempFolder;
using test::ZipBuilder;

namespace {

// The archive's members as "path size" lines, in the order listed.
std::vector<std::string> listing(const Archive& a) {
  std::vector<std::string> lines;
  for (const auto& m : a.members()) lines.push_back(m.path + " " + std::to_string(m.size));
  return lines;
}

// The end record of an archive without members: all a ZIP file needs.
const std::string kEmptyZip = std::string("PK\x05\x06", 4) + std::string(18, '\0');

}  // namespace

TEST(ZipSignature, RecognisedByContentWhateverTheName) {
  TempFolder dir;
  {
    ZipBuilder zip(dir.file("packed.bin"));
    zip.add("a.bin", test::serzContent("a"));
    zip.close();
  }
  test::writeBytes(dir.file("empty.xml"), kEmptyZip);
  test::writeBytes(dir.file("real.ap"), test::serzContent("x"));
  test::writeBytes(dir.file("short.ap"), "PK");
  EXPECT_TRUE(archive::looksLikeZip(dir.file("packed.bin")));
  EXPECT_TRUE(archive::looksLikeZip(dir.file("empty.xml")));
  EXPECT_FALSE(archive::looksLikeZip(dir.file("real.ap")));
  EXPECT_FALSE(archive::looksLikeZip(dir.file("short.ap")));
  EXPECT_FALSE(archive::looksLikeZip(dir.file("missing.ap")));
  EXPECT_FALSE(archive::looksLikeZip(dir.path().string()));
  EXPECT_TRUE(archive::startsLikeZip("PK\x03\x04rest"));
  EXPECT_FALSE(archive::startsLikeZip("PK\x01\x02"));  // a central entry does not start a file
}

// Only SERZ content counts, whatever the extension; folders, other files
// and members too short to tell are left out; Windows separators and stray
// "./" are shown as the archive's own names.
TEST(ArchiveList, SerzMembersSortedByPathWithTheirSizes) {
  TempFolder dir;
  const std::string path = dir.file("MainContent.ap");
  {
    ZipBuilder zip(path);
    zip.add("Scenery/Trees/Oak.bin", test::serzContent("oak", 300));
    zip.add("Audio/Horn.bin", test::serzContent("horn", 50), ZIP_CM_STORE);
    zip.addFolder("Scenery/");
    zip.add("Scenery/Readme.bin", "<?xml version=\"1.0\"?><cBlueprintLoader/>");
    zip.add("Scenery/Tiny.bin", "SE");
    zip.add("Scenery/Empty.bin", "");
    zip.add("Networks\\Track.dcsv", test::serzContent("track", 4096));
    zip.add("./Cars//Coach.proxybin", test::serzContent("coach", 1000));
    zip.add("Textures/Grass.TgPcDx", std::string(500, '\x7f'));
    // Methods other than store and deflate are read through libzip.
    if (zip_compression_method_supported(ZIP_CM_BZIP2, 1))
      zip.add("Sky/Clouds.bin", test::serzContent("clouds", 700), ZIP_CM_BZIP2);
    else
      zip.add("Sky/Clouds.bin", test::serzContent("clouds", 700));
    zip.close();
  }
  Archive a;
  ASSERT_EQ(a.open(path), std::nullopt);
  EXPECT_EQ(listing(a),
            (std::vector<std::string>{"Audio/Horn.bin 50", "Cars/Coach.proxybin 1000",
                                      "Networks/Track.dcsv 4096", "Scenery/Trees/Oak.bin 300",
                                      "Sky/Clouds.bin 700"}));
  EXPECT_TRUE(a.refused().empty());
  EXPECT_EQ(a.entryCount(), 10u);

  // Each index reads back the member listed beside it.
  std::string content;
  for (const auto& m : a.members()) {
    ASSERT_EQ(a.readMember(m.index, content), std::nullopt) << m.path;
    EXPECT_EQ(content.size(), m.size) << m.path;
  }

  // The same bytes held in memory list the same.
  Archive fromMemory;
  ASSERT_EQ(fromMemory.openBytes(test::readBytes(path), "MainContent.ap"), std::nullopt);
  EXPECT_EQ(listing(fromMemory), listing(a));
}

TEST(ArchiveList, HostileAndEncryptedMembersAreRefusedWithTheReason) {
  TempFolder dir;
  const std::string path = dir.file("Hostile.ap");
  bool encrypted = false;
  {
    ZipBuilder zip(path);
    zip.add("Good.bin", test::serzContent("good"));
    zip.add("../../Escape.bin", test::serzContent("escape"));
    zip.add("C:\\Windows\\Drive.bin", test::serzContent("drive"));
    zip.add("/abs/Absolute.bin", test::serzContent("abs"));
    zip.add("EvilXname.bin", test::serzContent("nul"));
    encrypted = zip.addEncrypted("Locked/Secret.bin", test::serzContent("secret"));
    zip.close();
  }
  // A NUL inside a stored name: libzip reads it as a space, so no name is
  // ever cut short at it ("Evil.bin\0.txt" cannot pass for "Evil.bin").
  std::string bytes = test::readBytes(path);
  test::replaceAll(bytes, "EvilXname", std::string("Evil\0name", 9));
  test::writeBytes(path, bytes);

  Archive a;
  ASSERT_EQ(a.open(path), std::nullopt);
  EXPECT_EQ(listing(a), (std::vector<std::string>{"Evil name.bin 200", "Good.bin 200"}));
  std::vector<std::string> refused;
  for (const auto& r : a.refused()) refused.push_back(r.name + ": " + r.reason);
  const std::string outside = ": has a name that leads outside the archive's folder";
  std::vector<std::string> expected = {"../../Escape.bin" + outside,
                                       "C:\\Windows\\Drive.bin" + outside,
                                       "/abs/Absolute.bin" + outside};
  if (encrypted)
    expected.push_back("Locked/Secret.bin: is encrypted");
  else
    std::cout << "This libzip cannot write AES encryption: no encrypted member tested\n";
  EXPECT_EQ(refused, expected);
}

TEST(ArchiveOpen, BrokenFilesGiveAMessageNotACrash) {
  TempFolder dir;
  const std::string good = dir.file("Good.ap");
  {
    ZipBuilder zip(good);
    for (int i = 0; i < 20; ++i) zip.add(std::to_string(i) + ".bin", test::serzContent("m"));
    zip.close();
  }
  const std::string bytes = test::readBytes(good);
  const std::pair<std::string, std::string> files[] = {
      {"NotZip.ap", test::serzContent("plain")},
      {"Cut.ap", bytes.substr(0, bytes.size() - 30)},
      {"Half.ap", bytes.substr(0, bytes.size() / 2)},
      {"Header.ap", bytes.substr(0, 4)},
      {"Zero.ap", ""},
  };
  for (const auto& [name, content] : files) {
    test::writeBytes(dir.file(name), content);
    Archive a;
    const auto message = a.open(dir.file(name));
    ASSERT_TRUE(message) << name;
    EXPECT_EQ(message->rfind(name + " is not a readable packed file: ", 0), 0u) << *message;
    EXPECT_GT(message->size(), name.size() + 32) << "a reason follows: " << *message;
    EXPECT_FALSE(a.isOpen());
    EXPECT_TRUE(a.members().empty());
  }
  Archive a;
  EXPECT_EQ(a.open(dir.file("Missing.ap")),
            "Missing.ap is not a readable packed file: there is no such file");
  EXPECT_EQ(a.open(dir.path().string()), test::shortName(dir.path().string()) +
                                             " is not a readable packed file: it is a folder");
  EXPECT_TRUE(a.openBytes(bytes.substr(0, 100), "Memory.ap")->starts_with("Memory.ap is not"));

  test::writeBytes(dir.file("Empty.ap"), kEmptyZip);
  ASSERT_EQ(a.open(dir.file("Empty.ap")), std::nullopt);
  EXPECT_TRUE(a.members().empty());
}

// Reading never changes the packed file, and a read-only one opens.
TEST(ArchiveOpen, TheFileIsLeftAsItWas) {
  TempFolder dir;
  const std::string path = dir.file("ReadOnly.ap");
  {
    ZipBuilder zip(path);
    zip.add("a.bin", test::serzContent("a"));
    zip.close();
  }
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  const std::string before = test::readBytes(path);
  const auto time = std::filesystem::last_write_time(path);
  {
    Archive a;
    ASSERT_EQ(a.open(path), std::nullopt);
    ASSERT_EQ(a.members().size(), 1u);
    ASSERT_EQ(a.extractMember(a.members()[0].index, dir.file("a.bin")), std::nullopt);
    Archive moved = std::move(a);
    EXPECT_EQ(moved.members().size(), 1u);
  }
  EXPECT_EQ(test::readBytes(path), before);
  EXPECT_EQ(std::filesystem::last_write_time(path), time);
  const auto perms = std::filesystem::status(path).permissions();
  EXPECT_EQ(perms & std::filesystem::perms::owner_write, std::filesystem::perms::none);
#ifndef _WIN32  // Windows keeps a read-only mark, not permission bits
  EXPECT_EQ(perms & std::filesystem::perms::all, std::filesystem::perms::owner_read);
#endif
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

// A member whose local header carries ZIP64 sizes, as libzip writes one of
// unknown size, and an archive of more members than the old end record can
// count (65,535), which needs the ZIP64 end record.
TEST(ArchiveZip64, Zip64HeadersAndMoreThan65535Entries) {
  TempFolder dir;
  const std::string sized = dir.file("Zip64Member.ap");
  const std::string content = test::noise(100000);
  {
    ZipBuilder zip(sized);
    zip.addOfUnknownSize("Big/Stream.bin", content);
    zip.close();
  }
  // The ZIP64 extra field (header id 1, then 16 bytes of sizes) follows the
  // name in the local header.
  const std::string bytes = test::readBytes(sized);
  ASSERT_EQ(bytes.substr(30 + 14, 4), std::string("\x01\x00\x10\x00", 4)) << "no ZIP64 field";
  Archive a;
  ASSERT_EQ(a.open(sized), std::nullopt);
  ASSERT_EQ(a.members().size(), 1u);
  EXPECT_EQ(a.members()[0].size, content.size());
  std::string read;
  ASSERT_EQ(a.readMember(a.members()[0].index, read), std::nullopt);
  EXPECT_EQ(read, content);

  const std::string many = dir.file("Many.ap");
  constexpr int kMembers = 65600;
  {
    ZipBuilder zip(many);
    for (int i = 0; i < kMembers; ++i)
      zip.add("m/" + std::to_string(i) + ".bin", i % 2 ? "SERZ" : "XML!", ZIP_CM_STORE);
    zip.close();
  }
  ASSERT_NE(test::readBytes(many).find("PK\x06\x06"), std::string::npos) << "no ZIP64 end record";
  ASSERT_EQ(a.open(many), std::nullopt);
  EXPECT_EQ(a.entryCount(), static_cast<std::uint64_t>(kMembers));
  EXPECT_EQ(a.members().size(), static_cast<std::size_t>(kMembers / 2));
}
