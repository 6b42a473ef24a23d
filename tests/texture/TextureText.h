#pragma once
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

// Texture XML of the shape serz writes, and small file helpers.
namespace vantrel::texture::testing {

inline std::string blobHex(const std::vector<std::uint8_t>& data) {
  std::string hex;
  for (const std::uint8_t byte : data)
    hex.append({"0123456789ABCDEF"[byte >> 4], "0123456789ABCDEF"[byte & 15]});
  return hex;
}

// A hand-written texture text: no Format element, so the format comes from the
// explicit-alpha mark (here in a comment) and short data is padded.
inline std::string textureXml(const std::string& width, const std::string& height,
                              const std::string& size, const std::string& hex,
                              bool explicitAlpha = false) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
         "<cRecordSet xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\">\r\n"
         "\t<cTextureResource>\r\n\t\t<!-- " +
         std::string(explicitAlpha ? "FORMAT_COMPRESSED_EXPL_ALPHA" : "made by hand") + " -->\r\n" +
         "\t\t<Width d:type=\"sUInt16\">" + width + "</Width>\r\n\t\t<Height d:type=\"sUInt16\">" +
         height + "</Height>\r\n\t\t<Data>\r\n<d:blob d:size=\"" + size + "\">\r\n" + hex +
         "</d:blob>\r\n\t\t</Data>\r\n\t</cTextureResource>\r\n</cRecordSet>\r\n";
}

// A texture text of the shape serz writes for a texture file: the texture's
// Width and Height, then its first mip level with the Format element, the
// level's own Width and Height and its data block.
inline std::string serzTextureXml(const std::string& format, int width, int height,
                                  const std::string& size, const std::string& hex) {
  const std::string w = std::to_string(width), h = std::to_string(height);
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
         "<cHcTextureGroup xmlns:d=\"http://www.kuju.com/TnT/2003/Delta\" d:version=\"1.0\" "
         "d:id=\"1\">\r\n"
         "\t<Texture>\r\n\t\t<cHcTexture d:id=\"2\">\r\n"
         "\t\t\t<Width d:type=\"sUInt32\">" +
         w + "</Width>\r\n\t\t\t<Height d:type=\"sUInt32\">" + h +
         "</Height>\r\n\t\t\t<Data>\r\n\t\t\t\t<cHcTextureData d:id=\"3\">\r\n\t\t\t\t\t<Mip>\r\n"
         "\t\t\t\t\t\t<cHcImageDx d:id=\"4\">\r\n"
         "\t\t\t\t\t\t\t<Format d:type=\"cDeltaString\">" +
         format +
         "</Format>\r\n"
         "\t\t\t\t\t\t\t<IsSwizzled d:type=\"bool\">0</IsSwizzled>\r\n"
         "\t\t\t\t\t\t\t<Width d:type=\"sUInt16\">" +
         w +
         "</Width>\r\n"
         "\t\t\t\t\t\t\t<Height d:type=\"sUInt16\">" +
         h +
         "</Height>\r\n"
         "\t\t\t\t\t\t\t<d:blob d:size=\"" +
         size + "\">" + hex +
         "</d:blob>\r\n"
         "\t\t\t\t\t\t</cHcImageDx>\r\n\t\t\t\t\t</Mip>\r\n\t\t\t\t\t<TextureBlob/>\r\n"
         "\t\t\t\t</cHcTextureData>\r\n\t\t\t</Data>\r\n\t\t</cHcTexture>\r\n\t</Texture>\r\n</"
         "cHcTextureGroup>\r\n";
}

inline std::string readAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// text in double quotes, for command lines. Appending (rather than
// "\"" + text) keeps GCC 12 from a false -Wrestrict warning.
inline std::string quoted(const std::string& text) {
  std::string out(1, '"');
  out.append(text).push_back('"');
  return out;
}

// Exit code and standard error of program run with the given (quoted)
// arguments; errors is the file that catches standard error on the way.
inline std::pair<int, std::string> run(const std::string& program, const std::string& arguments,
                                       const std::filesystem::path& errors) {
  std::string command = testing::quoted(program);  // qualified: std::quoted is found too
  command.append(" ").append(arguments).append(" 2> ").append(testing::quoted(errors.string()));
#ifdef _WIN32
  const int code = std::system(testing::quoted(command).c_str());  // cmd.exe drops the outer quotes
#else
  const int status = std::system(command.c_str());
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  std::string text = readAll(errors);
  std::filesystem::remove(errors);
  return {code, text};
}

}  // namespace vantrel::texture::testing
