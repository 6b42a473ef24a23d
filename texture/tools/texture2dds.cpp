// texture2dds IN.xml OUT.dds: the texture XML that serz writes, turned into a
// .dds file by the same builder as the editor's Convert to DDS. OUT is
// written only when the whole conversion succeeds.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <variant>

#include "texture/DdsBuilder.h"
#include "texture/ReplaceFile.h"

namespace {

int failWith(const std::string& file, const std::string& reason) {
  std::cerr << "texture2dds: " << file << ": " << reason << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: texture2dds IN.xml OUT.dds\n";
    return 2;
  }
  const std::string inPath = argv[1];
  const std::string outPath = argv[2];

  std::error_code ignored;
  if (std::filesystem::is_directory(inPath, ignored)) return failWith(inPath, "is a folder, not a file");
  std::ifstream in(inPath, std::ios::binary | std::ios::ate);
  if (!in) return failWith(inPath, std::string("cannot be opened: ") + std::strerror(errno));
  // Read in one call: the text of a large texture runs to tens of megabytes.
  const std::streamoff size = in.tellg();
  std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
  in.seekg(0);
  if (size < 0 || !in.read(text.data(), static_cast<std::streamsize>(text.size()))) {
    return failWith(inPath, "cannot be read");
  }

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
