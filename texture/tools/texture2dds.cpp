// texture2dds IN.xml OUT.dds: the texture XML that serz writes, turned into a
// .dds file by the same builder as the editor's Convert to DDS.
// texture2dds --all-levels IN.xml OUT.dds: every mip level of the texture in
// one .dds file, the largest first.
// OUT is written only when the whole conversion succeeds; any failure is one
// line on standard error and exit status 1.
#include <iostream>
#include <new>
#include <string>
#include <variant>

#include "platform/core/Arguments.h"
#include "platform/core/Files.h"
#include "texture/DdsBuilder.h"
#include "texture/TextureExport.h"

namespace {

namespace files = vantrel::files;

int failWith(const std::string& file, const std::string& reason) {
  std::cerr << "texture2dds: " << file << ": " << reason << '\n';
  return 1;
}

// Why the file at inPath cannot be taken as texture text. A file longer than
// any texture text is refused by its size before anything is read, and a
// pipe or device at once, without waiting for it.
std::string readFailure(const files::FileError& failure) {
  if (failure.kind == files::FileError::Kind::TooLarge) {
    return "is " + std::to_string(failure.size) +
           " bytes long, longer than any texture text (at most " +
           std::to_string(vantrel::texture::kLargestTextureText) + ")";
  }
  if (failure.kind == files::FileError::Kind::NotAFile) return failure.reason;
  return "cannot be read: " + failure.reason;
}

int convert(const std::string& inPath, const std::string& outPath, bool allLevels) {
  if (files::sameFile(inPath, outPath)) {
    return failWith(outPath, "is the input file itself; it was not overwritten");
  }
  std::string text;
  if (const auto failure = files::readWhole(inPath, text, vantrel::texture::kLargestTextureText)) {
    return failWith(inPath, readFailure(*failure));
  }
  std::vector<std::uint8_t> bytes;
  if (allLevels) {
    auto result = vantrel::texture::exportAllLevelsDds(text);
    if (const auto* problem = std::get_if<vantrel::texture::TextureProblem>(&result))
      return failWith(inPath, problem->message + " " + outPath + " was not written.");
    bytes = std::move(std::get<std::vector<std::uint8_t>>(result));
  } else {
    auto result = vantrel::texture::buildDds(text);
    if (const auto* problem = std::get_if<vantrel::texture::DdsProblem>(&result)) {
      return failWith(inPath,
                      "the texture text " + problem->text + "; " + outPath + " was not written");
    }
    bytes = std::move(std::get<std::vector<std::uint8_t>>(result));
  }
  const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (const auto failure = files::replaceWhole(outPath, content)) {
    if (failure->kind == files::FileError::Kind::ReadOnly)
      return failWith(outPath, "is read-only, so it was not replaced");
    return failWith(outPath, "could not be written: " + failure->reason);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments = vantrel::platform::utf8Arguments(argc, argv);
  const bool allLevels = arguments.size() > 1 && arguments[1] == "--all-levels";
  if (allLevels) arguments.erase(arguments.begin() + 1);
  if (arguments.size() != 3) {
    std::cerr << "usage: texture2dds IN.xml OUT.dds\n"
                 "       texture2dds --all-levels IN.xml OUT.dds\n";
    return 2;
  }
  const std::string& inPath = arguments[1];
  const std::string& outPath = arguments[2];
  // Ctrl+C or a termination leaves no temporary file beside OUT.
  files::removeTemporariesOnInterrupt();
  try {
    return convert(inPath, outPath, allLevels);
  } catch (const std::bad_alloc&) {
    return failWith(inPath,
                    "needs more memory than the machine gives; " + outPath + " was not written");
  } catch (const std::exception& error) {
    return failWith(inPath, std::string(error.what()) + "; " + outPath + " was not written");
  }
}
