// dds2texture [--change-format] IN.dds TEXTURE.xml: the levels of a DXT1,
// DXT3 or DXT5 .dds file written into the texture XML that serz wrote, in
// place. The new text goes to a temporary file beside TEXTURE.xml that is
// renamed over it only when it is whole, so a failure leaves the file as it
// was. A .dds of another block format than the texture's is refused unless
// --change-format is given. Any failure is one line on standard error and
// exit status 1; a wrong command line gives the usage and status 2.
#include <iostream>
#include <new>
#include <string>
#include <variant>

#include "platform/core/Arguments.h"
#include "platform/core/Files.h"
#include "texture/DdsBuilder.h"
#include "texture/TextureImport.h"

namespace {

namespace files = vantrel::files;
namespace texture = vantrel::texture;

int failWith(const std::string& file, const std::string& reason) {
  std::cerr << "dds2texture: " << file << ": " << reason << '\n';
  return 1;
}

std::string readFailure(const files::FileError& failure, std::string_view what) {
  if (failure.kind == files::FileError::Kind::TooLarge) {
    return "is " + std::to_string(failure.size) + " bytes long, longer than any " +
           std::string(what) + " (at most " + std::to_string(texture::kLargestTextureText) + ")";
  }
  if (failure.kind == files::FileError::Kind::NotAFile) return failure.reason;
  return "cannot be read: " + failure.reason;
}

int import(const std::string& ddsPath, const std::string& xmlPath, bool changeFormat) {
  if (files::sameFile(ddsPath, xmlPath))
    return failWith(xmlPath, "is the .dds file itself; it was not changed");
  std::string dds;
  if (const auto failure = files::readWhole(ddsPath, dds, texture::kLargestTextureText))
    return failWith(ddsPath, readFailure(*failure, ".dds file"));
  std::string text;
  if (const auto failure = files::readWhole(xmlPath, text, texture::kLargestTextureText))
    return failWith(xmlPath, readFailure(*failure, "texture text"));
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(dds.data());
  const auto result = texture::importDds(text, {bytes, dds.size()}, {changeFormat});
  if (const auto* problem = std::get_if<texture::TextureProblem>(&result))
    return failWith(ddsPath, problem->message + " " + xmlPath + " was not changed.");
  if (const auto* question = std::get_if<texture::FormatChangeNeeded>(&result)) {
    return failWith(ddsPath, "the texture is " + question->textureFormatName +
                                 " and the .dds file would make it " + question->fileFormatName +
                                 "; give --change-format to change it. " + xmlPath +
                                 " was not changed.");
  }
  const auto& imported = std::get<texture::ImportedTexture>(result);
  if (const auto failure = files::replaceWhole(xmlPath, imported.text)) {
    if (failure->kind == files::FileError::Kind::ReadOnly)
      return failWith(xmlPath, "is read-only, so it was not changed");
    return failWith(xmlPath, "could not be written (it was not changed): " + failure->reason);
  }
  std::cout << imported.summary << '\n';
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments = vantrel::platform::utf8Arguments(argc, argv);
  const bool changeFormat = arguments.size() > 1 && arguments[1] == "--change-format";
  if (changeFormat) arguments.erase(arguments.begin() + 1);
  if (arguments.size() != 3) {
    std::cerr << "usage: dds2texture [--change-format] IN.dds TEXTURE.xml\n";
    return 2;
  }
  const std::string& ddsPath = arguments[1];
  const std::string& xmlPath = arguments[2];
  // Ctrl+C or a termination leaves no temporary file beside TEXTURE.xml.
  files::removeTemporariesOnInterrupt();
  try {
    return import(ddsPath, xmlPath, changeFormat);
  } catch (const std::bad_alloc&) {
    return failWith(ddsPath,
                    "needs more memory than the machine gives; " + xmlPath + " was not changed");
  } catch (const std::exception& error) {
    return failWith(ddsPath, std::string(error.what()) + "; " + xmlPath + " was not changed");
  }
}
