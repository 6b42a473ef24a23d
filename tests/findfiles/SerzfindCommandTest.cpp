// serzfind as a user runs it: its output lines, summary, exit status, and
// a replace undone with --undo.

#include <gtest/gtest.h>

#include <cstdio>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "FindFilesTestSupport.h"

namespace vantrel::test {
namespace {

struct Ran {
  int status = -1;
  std::string out, err;
};

Ran runSerzfind(const std::string& arguments, const TempFolder& folder) {
  const std::string errFile = folder.file("stderr.txt");
  const std::string command =
      std::string("\"") + SERZFIND_PATH + "\" " + arguments + " 2>\"" + errFile + "\"";
  Ran ran;
#ifdef _WIN32
  // cmd /c takes the line whole only when it is quoted once more.
  FILE* pipe = _popen(("\"" + command + "\"").c_str(), "r");
#else
  FILE* pipe = popen(command.c_str(), "r");
#endif
  if (!pipe) return ran;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) ran.out.append(buffer, n);
#ifdef _WIN32
  ran.status = _pclose(pipe);
#else
  const int status = pclose(pipe);
  ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  ran.err = readFile(errFile);
  return ran;
}

class Serzfind : public ::testing::Test {
 protected:
  void SetUp() override {
    writeBinary(folder_.path() / "route" / "a.bin", binaryOf(kFeatureXml));
    ZipBuilder zip((folder_.path() / "route" / "Pack.ap").string());
    zip.add("Sub/b.bin", binaryOf(kFeatureXml));
    zip.close();
  }
  // Quoted for the shell.
  std::string route() const {
    std::string quoted(1, '"');
    quoted += folder_.file("route");
    quoted += '"';
    return quoted;
  }
  TempFolder folder_;
  StateFolder state_{folder_.path() / "state"};
};

TEST_F(Serzfind, PrintsOneLinePerMatchAndASummary) {
  const Ran r = runSerzfind("Tabby " + route(), folder_);
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string loose = (fs::path(folder_.file("route")) / "a.bin").string();
  const std::string packed = (fs::path(folder_.file("route")) / "Pack.ap").string() + "::Sub/b.bin";
  const std::string text =
      ": <Description d:type=\"cDeltaString\">A track in the hills of Wales, near Ffestiniog. "
      "Tabby the cat lives here.</Description>\n";
  const std::string xml = serz::binToXml(binaryOf(kFeatureXml)).value();
  const auto lines = std::count(xml.begin(), xml.begin() + xml.find("Tabby"), '\n');
  const std::string place = ":" + std::to_string(lines + 1) + ":";
  const long column = 3 + static_cast<long>(std::string("<Description d:type=\"cDeltaString\">"
                                                        "A track in the hills of Wales, near "
                                                        "Ffestiniog. ")
                                                .size());
  const std::string where = place + std::to_string(column);
  // Both files, in either order (two workers).
  EXPECT_NE(r.out.find(loose + where + text), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(packed + where + text), std::string::npos) << r.out;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);
  EXPECT_NE(r.err.find("2 matches in 2 files; 2 files searched"), std::string::npos) << r.err;
}

TEST_F(Serzfind, ExitStatusIsGrepsAndOptionsNarrowTheSearch) {
  EXPECT_EQ(runSerzfind("NothingLikeThis " + route(), folder_).status, 1);
  EXPECT_EQ(runSerzfind("tabby " + route(), folder_).status, 0);
  EXPECT_EQ(runSerzfind("--case tabby " + route(), folder_).status, 1);
  EXPECT_EQ(runSerzfind("--word Tabb " + route(), folder_).status, 1);
  const Ran loose = runSerzfind("--no-packed --jobs 1 Tabby " + route(), folder_);
  EXPECT_EQ(loose.status, 0);
  EXPECT_EQ(std::count(loose.out.begin(), loose.out.end(), '\n'), 1);
  // Bad command lines, and a folder that is not there.
  EXPECT_EQ(runSerzfind("", folder_).status, 2);
  EXPECT_EQ(runSerzfind("Tabby", folder_).status, 2);
  EXPECT_EQ(runSerzfind("--jobs 0 Tabby " + route(), folder_).status, 2);
  EXPECT_EQ(runSerzfind("--frobnicate Tabby " + route(), folder_).status, 2);
  const Ran missing =
      runSerzfind("Tabby " + route() + " \"" + folder_.file("gone") + "\"", folder_);
  EXPECT_EQ(missing.status, 2);  // matches, but an error as well
  EXPECT_NE(missing.err.find("gone: is not a folder"), std::string::npos) << missing.err;
}

TEST_F(Serzfind, ReplaceAndUndo) {
  const std::string original = readFile(folder_.file("route") + "/a.bin");
  const Ran replaced = runSerzfind("--replace Tibbles Tabby " + route(), folder_);
  // The packed one is left (no --write-loose): an error, as grep reports one.
  EXPECT_EQ(replaced.status, 2) << replaced.err;
  EXPECT_NE(replaced.out.find("a.bin: 1 replaced (backup "), std::string::npos) << replaced.out;
  EXPECT_NE(replaced.err.find("Pack.ap::Sub/b.bin: is packed"), std::string::npos);
  EXPECT_EQ(runSerzfind("Tibbles " + route(), folder_).status, 0);

  const Ran loose = runSerzfind("--replace Tibbles --write-loose Tabby " + route(), folder_);
  EXPECT_EQ(loose.status, 0) << loose.err;
  EXPECT_TRUE(fs::exists(folder_.path() / "route" / "Sub" / "b.bin"));

  // The last replace (the loose file) is undone, then there is nothing;
  // the text may be given as for the replace.
  const Ran undo = runSerzfind("--undo Tabby " + route(), folder_);
  EXPECT_EQ(undo.status, 0) << undo.err;
  EXPECT_FALSE(fs::exists(folder_.path() / "route" / "Sub" / "b.bin"));
  EXPECT_EQ(runSerzfind("--undo " + route(), folder_).status, 1);
  EXPECT_NE(readFile(folder_.file("route") + "/a.bin"), original);  // the first replace stays
}

}  // namespace
}  // namespace vantrel::test
