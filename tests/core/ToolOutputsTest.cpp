// What serz and texture2dds do with the files around them: OUT through a
// link, OUT's permission bits, a read-only OUT, OUT that is IN, an IN that is
// a pipe, device or folder, and OUT names as long as the system allows.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using vantrel::test::TempFolder;
namespace fs = std::filesystem;

namespace {

struct Tool {
  const char* name;
  const char* program;
  std::string input;      // a good input file's content
  std::string outPrefix;  // before OUT on the command line
};

const Tool kTools[] = {
    {"serz", SERZ_PATH,
     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<cRecordSet "
     "xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" "
     "d:version=\"1.0\"><Name d:type=\"cDeltaString\">x</Name></cRecordSet>\r\n",
     "bin:"},
    {"texture2dds", TEXTURE2DDS_PATH,
     "<cTextureResource><Width>4</Width><Height>4</Height><d:blob "
     "d:size=\"8\">0102030405060708</d:blob>"
     "</cTextureResource>",
     ""},
};

void PrintTo(const Tool& tool, std::ostream* out) { *out << tool.name; }

std::string quoted(const std::string& path) { return "'" + path + "'"; }

// Exit status and standard error of the tool on IN and OUT, killed after a
// few seconds should it hang.
std::pair<int, std::string> run(const Tool& tool, const std::string& in, const std::string& out,
                                const TempFolder& dir) {
  const std::string errors = dir.file("errors.txt");
  const std::string command = "timeout 10 " + quoted(tool.program) + " " + quoted(in) + " " +
                              quoted(tool.outPrefix + out) + " 2> " + quoted(errors);
  const int status = std::system(command.c_str());
  std::string text = vantrel::test::readFile(errors);
  fs::remove(errors);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

mode_t modeOf(const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

std::size_t entriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

class ToolOutputs : public ::testing::TestWithParam<Tool> {};

TEST_P(ToolOutputs, WriteThroughLinksKeepPermissionsAndRefuseReadOnlyOrTheInput) {
  const Tool& tool = GetParam();
  TempFolder dir;
  const std::string in = dir.file("in.xml");
  vantrel::test::writeFile(in, tool.input);
  const std::string real = dir.file("real.out");
  const std::string link = dir.file("link.out");
  vantrel::test::writeFile(real, "old");
  ASSERT_EQ(chmod(real.c_str(), 0600), 0);
  fs::create_symlink("real.out", link);

  auto [code, errors] = run(tool, in, link, dir);
  ASSERT_EQ(code, 0) << errors;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_NE(vantrel::test::readFile(real), "old");
  EXPECT_EQ(modeOf(real), 0600u);
  const std::string converted = vantrel::test::readFile(real);

  ASSERT_EQ(chmod(real.c_str(), 0444), 0);
  std::tie(code, errors) = run(tool, in, real, dir);
  EXPECT_EQ(code, 1);
  EXPECT_NE(errors.find("read-only"), std::string::npos) << errors;
  EXPECT_EQ(vantrel::test::readFile(real), converted);

  std::tie(code, errors) = run(tool, in, in, dir);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(vantrel::test::readFile(in), tool.input);
  EXPECT_EQ(entriesIn(dir.path()), 3u) << "a temporary file was left behind";
}

TEST_P(ToolOutputs, PipesDevicesAndFoldersAsInputAreRefusedAtOnce) {
  const Tool& tool = GetParam();
  TempFolder dir;
  const std::string fifo = dir.file("pipe.xml");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& in : {fifo, std::string("/dev/zero"), dir.path().string()}) {
    const auto [code, errors] = run(tool, in, dir.file("out"), dir);
    EXPECT_EQ(code, 1) << in << ": " << errors;  // a hang would be killed: -1 or 124
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_FALSE(fs::exists(dir.file("out")));
  }
}

TEST_P(ToolOutputs, OutputNamesAsLongAsTheSystemAllows) {
  const Tool& tool = GetParam();
  TempFolder dir;
  const std::string in = dir.file("in.xml");
  vantrel::test::writeFile(in, tool.input);
  const std::string out = dir.file(std::string(251, 'o') + ".out");
  const auto [code, errors] = run(tool, in, out, dir);
  EXPECT_EQ(code, 0) << errors;
  EXPECT_TRUE(fs::exists(out));
}

INSTANTIATE_TEST_SUITE_P(BothTools, ToolOutputs, ::testing::ValuesIn(kTools),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
#endif
