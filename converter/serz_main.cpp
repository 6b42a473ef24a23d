// serz IN xml:OUT   binary to XML
// serz IN bin:OUT   XML to binary
// Exit status: 0 done, 1 bad input or a file problem (one line on standard
// error), 2 wrong command line.
//
// OUT is replaced only when the conversion succeeded, in one step, through a
// symbolic link to the file it points to, keeping its permission bits; a
// read-only OUT, or OUT that is IN, is refused. The XML is written to the
// file as it is made, so it can be far larger than the memory at hand; the
// XML is read a few megabytes at a time, so the memory needed for XML to
// binary follows the binary. An interrupt leaves no temporary file behind. A
// message shows the control characters of file names and input text as
// \xHH, so it is always one line.

#include <cstdio>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "converter/ByteSink.h"
#include "converter/Codec.h"
#include "converter/Quote.h"
#include "platform/core/Arguments.h"
#include "platform/core/Files.h"

namespace {

namespace files = vantrel::files;

constexpr const char* kUsage =
    "usage: serz IN xml:OUT (binary to XML) | serz IN bin:OUT (XML to binary)\n";

int failWith(const std::string& file, const std::string& message) {
  std::fprintf(stderr, "serz: %s: %s\n", serz::withControlsEscaped(file).c_str(),
               serz::withControlsEscaped(message).c_str());
  return 1;
}

int writeFailure(const std::string& out, const files::FileError& failure) {
  if (failure.kind == files::FileError::Kind::ReadOnly)
    return failWith(out, "is read-only, so it was not replaced");
  return failWith(out, "cannot write: " + failure.reason);
}

// The converter's output, handed to a file that replaces OUT on commit.
class FileSink final : public serz::ByteSink {
 public:
  std::optional<files::FileError> open(const std::string& path) {
    return failure_ = writer_.open(path);
  }
  bool write(std::string_view bytes) override {
    failure_ = writer_.write(bytes);
    return !failure_;
  }
  std::optional<files::FileError> commit(files::AtomicWriter::Durability durability) {
    return failure_ = writer_.commit(durability);
  }
  const std::optional<files::FileError>& failure() const { return failure_; }

 private:
  files::AtomicWriter writer_;
  std::optional<files::FileError> failure_;
};

int toXml(const std::string& in, const std::string& input, const std::string& out) {
  FileSink file;
  if (const auto failure = file.open(out)) return writeFailure(out, *failure);
  auto written = serz::binToXml(input, file);
  if (!written) {
    if (file.failure()) return writeFailure(out, *file.failure());
    return failWith(in, written.error().message());
  }
  // The XML is made from IN, which stays as it was, and is most often the
  // editor's working copy, read at once: flushing it to the disk would add
  // a second to opening 500 MB of XML and keep nothing safe that is not.
  if (const auto failure = file.commit(files::AtomicWriter::Durability::Unflushed))
    return writeFailure(out, *failure);
  return 0;
}

// The XML file, read a few megabytes at a time.
class FileSource final : public serz::ByteSource {
 public:
  explicit FileSource(files::FileReader& file) : file_(file) {}
  std::ptrdiff_t read(char* to, std::size_t n) override { return file_.read(to, n); }
  bool restart() override { return file_.rewind(); }

 private:
  files::FileReader& file_;
};

int readFailure(const std::string& in, const files::FileError& failure) {
  if (failure.kind == files::FileError::Kind::NotAFile) return failWith(in, failure.reason);
  return failWith(in, "cannot read: " + failure.reason);
}

int toBin(const std::string& in, const std::string& out) {
  files::FileReader file;
  if (const auto failure = file.open(in)) return readFailure(in, *failure);
  FileSource source(file);
  auto converted = serz::xmlToBin(source, file.size());
  if (!converted) {
    if (file.failure()) return readFailure(in, *file.failure());
    return failWith(in, converted.error().message());
  }
  if (const auto failure = files::replaceWhole(out, converted.value()))
    return writeFailure(out, *failure);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = vantrel::platform::utf8Arguments(argc, argv);
  if (arguments.size() != 3) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string& in = arguments[1];
  const std::string_view target = arguments[2];
  const bool toXmlForm = target.starts_with("xml:");
  const bool toBinForm = target.starts_with("bin:");
  if (in.empty() || (!toXmlForm && !toBinForm) || target.size() == 4) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string out(target.substr(4));
  files::removeTemporariesOnInterrupt();

  try {
    if (files::sameFile(in, out))
      return failWith(out, "is the input file itself; it was not overwritten");
    if (toBinForm) return toBin(in, out);
    std::string input;
    if (const auto failure = files::readWhole(in, input)) {
      if (failure->kind == files::FileError::Kind::TooLarge)
        return failWith(
            in, "not enough memory to read its " + std::to_string(failure->size) + " bytes");
      return readFailure(in, *failure);
    }
    return toXml(in, input, out);
  } catch (const std::bad_alloc&) {
    return failWith(in, "not enough memory for the conversion");
  } catch (const std::exception& e) {
    return failWith(in, e.what());
  }
}
