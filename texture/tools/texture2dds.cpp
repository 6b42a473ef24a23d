// texture2dds IN.xml OUT.dds: the texture XML that serz writes, turned into a
// .dds file by the same builder as the editor's Convert to DDS. OUT is
// written only when the whole conversion succeeds; any failure is one line on
// standard error and exit status 1.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <variant>

#include "texture/DdsBuilder.h"
#include "texture/ReplaceFile.h"

namespace {

int failWith(const std::string& file, const std::string& reason) {
  std::cerr << "texture2dds: " << file << ": " << reason << '\n';
  return 1;
}

// Reads the whole file at inPath into text; the reason it cannot otherwise.
// A file longer than any texture text is refused before anything is read or
// allocated, and an allocation the machine cannot give is a reason too.
std::optional<std::string> readTextureText(const std::string& inPath, std::string& text) {
  std::error_code ignored;
  if (std::filesystem::is_directory(inPath, ignored)) return "is a folder, not a file";
  std::ifstream in(inPath, std::ios::binary | std::ios::ate);
  if (!in) return std::string("cannot be opened: ") + std::strerror(errno);
  const std::streamoff size = in.tellg();
  if (size < 0) return "cannot be read";
  const auto bytes = static_cast<std::uint64_t>(size);
  if (bytes > vantrel::texture::kLargestTextureText || bytes > text.max_size()) {
    return "is " + std::to_string(bytes) + " bytes long, longer than any texture text (at most " +
           std::to_string(vantrel::texture::kLargestTextureText) + ")";
  }
  try {
    text.resize(static_cast<std::size_t>(bytes));
  } catch (const std::bad_alloc&) {
    return "is " + std::to_string(bytes) + " bytes long, more than fits in memory";
  }
  // Read in one call: the text of a large texture runs to tens of megabytes.
  in.seekg(0);
  if (!in.read(text.data(), static_cast<std::streamsize>(text.size()))) return "cannot be read";
  return std::nullopt;
}

int convert(const std::string& inPath, const std::string& outPath) {
  std::string text;
  if (const auto failure = readTextureText(inPath, text)) return failWith(inPath, *failure);
  const auto result = vantrel::texture::buildDds(text);
  if (const auto* problem = std::get_if<vantrel::texture::DdsProblem>(&result)) {
    return failWith(inPath, "the texture text " + problem->text + "; " + outPath + " was not written");
  }
  const auto& bytes = std::get<std::vector<std::uint8_t>>(result);
  if (const auto failure = vantrel::texture::replaceFile(outPath, bytes)) {
    return failWith(outPath, "could not be written: " + *failure);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: texture2dds IN.xml OUT.dds\n";
    return 2;
  }
  const std::string inPath = argv[1];
  const std::string outPath = argv[2];
  try {
    return convert(inPath, outPath);
  } catch (const std::bad_alloc&) {
    return failWith(inPath, "needs more memory than the machine gives; " + outPath + " was not written");
  } catch (const std::exception& error) {
    return failWith(inPath, std::string(error.what()) + "; " + outPath + " was not written");
  }
}
