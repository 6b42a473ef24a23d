// The real serz program: command line, exit status, the one-line message,
// and OUT written only on success.

#include "ConverterTestSupport.h"
#include "platform/core/Files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

namespace serz {
namespace {

namespace fs = std::filesystem;
using namespace serz::testing;

// serz is built into the same folder as this test program; finding it there
// (rather than by its build path) also works when the tests run under Wine.
fs::path serzProgram() {
#ifdef _WIN32
  char buffer[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return fs::path(buffer).parent_path() / "serz.exe";
#else
  return fs::read_symlink("/proc/self/exe").parent_path() / "serz";
#endif
}

class SerzCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("serz-test-" + std::to_string(rd()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  void write(const std::string& name, std::string_view content) const {
    std::ofstream(path(name), std::ios::binary) << content;
  }
  std::string read(const std::string& name) const {
    std::string content;
    const auto failure = vantrel::files::readWhole(path(name), content);
    EXPECT_FALSE(failure) << name << ": " << (failure ? failure->reason : "");
    return content;
  }

  // Runs serz with `args` (already quoted); returns the exit status and
  // leaves standard error in stderr_.
  // `prefix` goes before the command (a shell command, for example).
  int run(const std::string& args, const std::string& prefix = {}) {
    const std::string errFile = path("stderr.txt");
    std::string command = prefix;
    command += '"';
    command.append(serzProgram().string()).append("\" ").append(args);
    command.append(" 2> \"").append(errFile).append("\"");
#ifdef _WIN32
    command.insert(0, 1, '"').push_back('"');  // cmd /c strips one pair of outer quotes
    const int rc = std::system(command.c_str());
#else
    const int status = std::system(command.c_str());
    const int rc = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    stderr_ = read("stderr.txt");
    std::erase(stderr_, '\r');  // Windows writes the line end in text mode
    fs::remove(errFile);
    return rc;
  }

  std::string q(const std::string& name) const {
    std::string quotedPath(1, '"');
    quotedPath.append(path(name)).push_back('"');
    return quotedPath;
  }

  std::size_t filesInFolder() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
  std::string stderr_;
};

const std::string kXml = canonicalXml({"<Count d:type=\"sInt32\">-1</Count>"});

TEST_F(SerzCommand, WrongCommandLinesPrintUsageAndExit2) {
  write("in.xml", kXml);
  for (const std::string& args :
       {std::string(), q("in.xml"), q("in.xml") + " out.bin", q("in.xml") + " txt:x",
        q("in.xml") + " bin:", q("in.xml") + " bin:a b"}) {
    EXPECT_EQ(run(args), 2) << args;
    EXPECT_EQ(stderr_.rfind("usage: serz", 0), 0u) << args << ": " << stderr_;
  }
}

TEST_F(SerzCommand, ConvertsBothWaysAndReplacesAnExistingOutput) {
  write("in.xml", kXml);
  write("out.bin", "old content");
  ASSERT_EQ(run(q("in.xml") + " bin:" + q("out.bin")), 0) << stderr_;
  EXPECT_EQ(stderr_, "");
  EXPECT_EQ(read("out.bin").substr(0, 4), "SERZ");
  write("out.xml", std::string(100000, 'x'));  // longer than the new content
  ASSERT_EQ(run(q("out.bin") + " xml:" + q("out.xml")), 0) << stderr_;
  EXPECT_EQ(read("out.xml"), kXml);
  EXPECT_EQ(filesInFolder(), 3u);  // no temporary file left behind
}

TEST_F(SerzCommand, BadInputExits1WithOneLineAndLeavesOutputUntouched) {
  write("bad.bin", std::string("SERZ\0\0\1\0\xFF\x50\xFF\xFF\x20\0\0\0Ro", 18));
  write("out.xml", "previous");
  EXPECT_EQ(run(q("bad.bin") + " xml:" + q("out.xml")), 1);
  EXPECT_EQ(stderr_, "serz: " + path("bad.bin") +
                         ": byte 10: string length 32 runs past the end of the file\n");
  EXPECT_EQ(read("out.xml"), "previous");

  write("bad.xml", "<Root>\n  <v d:type=\"sInt8\">300</v>\n</Root>\n");
  EXPECT_EQ(run(q("bad.xml") + " bin:" + q("new.bin")), 1);
  EXPECT_EQ(stderr_, "serz: " + path("bad.xml") +
                         ": line 2, column 21: the value \"300\" does not fit sInt8\n");
  EXPECT_FALSE(fs::exists(path("new.bin")));
  EXPECT_EQ(filesInFolder(), 3u);
}

// 999 nested elements holding `nils` nils, each one a single cached byte
// that becomes a line of 999 tabs and "<d:nil/>": the XML is about a
// thousand times the binary.
std::string deepFile(std::size_t nils, bool closed = true) {
  BinBuilder b;
  b.u8(0xFF).u8('P').str("a").u32(0).u32(1);
  for (int i = 1; i < kMaxDepth - 1; ++i) b.u8(0x00).u32(0).u32(1);
  b.u8(0xFF).u8('N');
  for (std::size_t i = 1; i < nils; ++i) b.u8(0x01);
  b.u8(0xFF).u8('p').ref(0);
  for (int i = 1; i < kMaxDepth - 1 - (closed ? 0 : 1); ++i) b.u8(0x02);
  return b.bytes();
}

[[maybe_unused]] std::uint64_t deepXmlSize(std::size_t nils) {
  const int depth = kMaxDepth - 1;  // levels of elements
  std::uint64_t size =
      std::string_view("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n").size() +
      std::string_view("<a xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\">\r\n")
          .size() +
      std::string_view("</a>\r\n").size();
  for (int level = 1; level < depth; ++level)
    size += 2 * level + std::string_view("<a>\r\n</a>\r\n").size();
  return size + nils * (depth + std::string_view("<d:nil/>\r\n").size());
}

#if defined(__SANITIZE_ADDRESS__)
#define SERZ_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SERZ_UNDER_ASAN 1
#endif
#endif

// The XML goes to the file as it is made: serz converts a file whose XML is
// several times the address space it is allowed.
TEST_F(SerzCommand, XmlFarLargerThanItsMemoryLimitIsWrittenAsItIsMade) {
#if defined(_WIN32)
  GTEST_SKIP() << "the address-space limit is set with the POSIX shell's ulimit";
#elif defined(SERZ_UNDER_ASAN)
  GTEST_SKIP() << "the address sanitizer needs more address space than the limit";
#else
  constexpr std::size_t kNils = 300000;  // about 300 MB of XML
  constexpr int kLimitKiB = 32 * 1024;
  ASSERT_GT(deepXmlSize(kNils), 8ull * kLimitKiB * 1024);
  write("deep.bin", deepFile(kNils));
  write("out.xml", "previous");
  const int rc = run(q("deep.bin") + " xml:" + q("out.xml"),
                     "ulimit -v " + std::to_string(kLimitKiB) + " && ");
  ASSERT_EQ(rc, 0) << stderr_;
  EXPECT_EQ(fs::file_size(path("out.xml")), deepXmlSize(kNils));
  std::ifstream xml(path("out.xml"), std::ios::binary);
  xml.seekg(-static_cast<std::streamoff>(kMaxDepth + 8), std::ios::end);
  std::string tail(static_cast<std::size_t>(kMaxDepth + 8), '\0');
  xml.read(tail.data(), static_cast<std::streamsize>(tail.size()));
  EXPECT_TRUE(tail.ends_with("\t</a>\r\n\t</a>\r\n</a>\r\n"));
  EXPECT_EQ(filesInFolder(), 2u);  // no temporary file left behind

  // An input larger than the limit is refused cleanly, and OUT stays.
  const std::uint32_t blobSize = 40u << 20;
  write("big.bin", BinBuilder()
                       .u8(0xFF)
                       .u8('P')
                       .str("Root")
                       .u32(0)
                       .u32(1)
                       .u8(0xFF)
                       .u8('B')
                       .u32(blobSize)
                       .raw(std::string(blobSize, '\0'))
                       .u8(0xFF)
                       .u8('p')
                       .ref(0)
                       .bytes());
  write("out.xml", "previous");
  EXPECT_EQ(
      run(q("big.bin") + " xml:" + q("out.xml"), "ulimit -v " + std::to_string(kLimitKiB) + " && "),
      1);
  EXPECT_NE(stderr_.find("not enough memory"), std::string::npos) << stderr_;
  EXPECT_EQ(read("out.xml"), "previous");
#endif
}

// A fault found after much XML has been written leaves OUT as it was and no
// temporary file.
TEST_F(SerzCommand, LateFailureLeavesOutputUntouched) {
  write("cut.bin", deepFile(2000, false));
  write("out.xml", "previous");
  EXPECT_EQ(run(q("cut.bin") + " xml:" + q("out.xml")), 1);
  EXPECT_NE(stderr_.find("the file ends inside element \"a\""), std::string::npos) << stderr_;
  EXPECT_EQ(read("out.xml"), "previous");
  EXPECT_EQ(filesInFolder(), 2u);
}

// The temporary file's name does not grow with OUT's, so the longest name
// the folder allows works.
TEST_F(SerzCommand, OutputNamesUpToTheFoldersLimitWork) {
#ifdef _WIN32
  GTEST_SKIP() << "full paths are limited to MAX_PATH characters here";
#else
  const std::string longName = std::string(251, 'n') + ".bin";
  write("in.xml", kXml);
  ASSERT_EQ(run(q("in.xml") + " bin:" + q(longName)), 0) << stderr_;
  ASSERT_EQ(run(q(longName) + " xml:" + q(std::string(251, 'x') + ".xml")), 0) << stderr_;
  EXPECT_EQ(read(std::string(251, 'x') + ".xml"), kXml);
  EXPECT_EQ(filesInFolder(), 3u);
#endif
}

// Ctrl+C or a termination while the XML is being written leaves OUT as it
// was and no temporary file beside it.
TEST_F(SerzCommand, AnInterruptedRunLeavesNoTemporaryFile) {
#ifdef _WIN32
  GTEST_SKIP() << "signals are sent with the POSIX shell";
#else
  write("deep.bin", deepFile(3000000));  // about 3 GB of XML: long enough to interrupt
  write("out.xml", "previous");
  for (const char* signal : {"INT", "TERM"}) {
    SCOPED_TRACE(signal);
    // The signal goes once the temporary file exists, that is while the
    // XML is being written.
    std::string script = "\"";
    script.append(serzProgram().string()).append("\" ").append(q("deep.bin")).append(" xml:");
    script.append(q("out.xml")).append(" 2>/dev/null & pid=$!; for i in $(seq 1000); do ls -A ");
    script.append(q("")).append(" | grep -q tmp && break; sleep 0.01; done; kill -").append(signal);
    script.append(" $pid; wait $pid; echo $? > ").append(q("status.txt"));
    ASSERT_EQ(std::system(std::string("sh -c '").append(script).append("'").c_str()), 0);
    EXPECT_EQ(read("status.txt"), std::string(signal) == std::string("INT") ? "130\n" : "143\n");
    EXPECT_EQ(read("out.xml"), "previous");
    fs::remove(path("status.txt"));
    EXPECT_EQ(filesInFolder(), 2u) << "a temporary file was left behind";
  }
#endif
}

// File names and input text reach the terminal with their control
// characters written as \xHH: the message stays one line.
TEST_F(SerzCommand, MessagesShowControlCharactersEscaped) {
  write("bad.xml", "<Root>\n<v d:type=\"sInt8\">\x1B]0;title\x07</v>\n</Root>\n");
  EXPECT_EQ(run(q("bad.xml") + " bin:" + q("out.bin")), 1);
  EXPECT_EQ(stderr_, "serz: " + path("bad.xml") +
                         ": line 2, column 19: \"\\x1B]0;title\\x07\" is not a number for sInt8\n");
#ifndef _WIN32  // Windows file names cannot hold control characters
  const std::string name = "line\nbreak\x1B[31m.bin";
  write(name, "SERZ");
  EXPECT_EQ(run(q(name) + " xml:" + q("out.xml")), 1);
  EXPECT_EQ(stderr_, "serz: " + path("line\\x0Abreak\\x1B[31m.bin") +
                         ": byte 0: not a serialised .bin file (no \"SERZ\" signature)\n");
#endif
}

TEST_F(SerzCommand, UnreadableInputAndUnwritableOutputExit1) {
  EXPECT_EQ(run(q("missing.bin") + " xml:" + q("out.xml")), 1);
  EXPECT_EQ(stderr_.rfind("serz: " + path("missing.bin") + ": cannot read", 0), 0u) << stderr_;
  write("in.xml", kXml);
  EXPECT_EQ(run(q("in.xml") + " bin:" + q("no-such-folder/out.bin")), 1);
  EXPECT_NE(stderr_.find("cannot write"), std::string::npos) << stderr_;
  EXPECT_EQ(std::count(stderr_.begin(), stderr_.end(), '\n'), 1);
}

}  // namespace
}  // namespace serz
