// Textures from the field through serz and the builder: the .dds must carry
// the texture's FourCC, width and height, and its first image byte for byte,
// taken here straight from the binary's first blob record.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

#include "tests/texture/TextureText.h"
#include "texture/DdsBuilder.h"

namespace vantrel::texture {
namespace {

namespace fs = std::filesystem;

const fs::path kRealFiles = fs::path(VANTREL_SHARED_DIR) / "fixtures" / "real";

struct RealTexture {
  const char* file;
  const char* fourCc;
  std::uint32_t width, height;
  std::size_t imageBytes;
};
void PrintTo(const RealTexture& texture, std::ostream* out) { *out << texture.file; }

// The data of the binary's first blob of `size` bytes: a spelled-out blob
// record is FF 42, the size as 4 bytes little-endian, then the data.
std::string firstBlob(const std::string& binary, std::size_t size) {
  std::string record("\xFF\x42", 2);
  for (int k = 0; k < 4; ++k) record.push_back(static_cast<char>(size >> (8 * k) & 0xFF));
  const std::size_t at = binary.find(record);
  if (at == std::string::npos || binary.size() - at - record.size() < size) return {};
  return binary.substr(at + record.size(), size);
}

std::uint32_t little32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
         std::uint32_t{bytes[offset + 3]} << 24;
}

class RealTextures : public ::testing::TestWithParam<RealTexture> {};

TEST_P(RealTextures, GiveTheirFourCcSizeAndFirstImage) {
  const RealTexture& texture = GetParam();
  const fs::path binary = kRealFiles / texture.file;
  if (!fs::exists(binary)) GTEST_SKIP() << binary.string() << " is absent";
  const fs::path folder =
      fs::temp_directory_path() / ("real-texture-test-" + std::string(texture.file));
  fs::remove_all(folder);
  fs::create_directories(folder);

  const auto [code, errors] = testing::run(SERZ_PATH,
                                           testing::quoted(binary.string()) + " xml:" +
                                               testing::quoted((folder / "texture.xml").string()),
                                           folder / "err");
  ASSERT_EQ(code, 0) << "serz refused " << texture.file << ": " << errors;
  const auto result = buildDds(testing::readAll(folder / "texture.xml"));
  fs::remove_all(folder);
  const auto* problem = std::get_if<DdsProblem>(&result);
  ASSERT_EQ(problem, nullptr) << "the texture text " << problem->text;

  const auto& dds = std::get<std::vector<std::uint8_t>>(result);
  ASSERT_EQ(dds.size(), kDdsHeaderSize + texture.imageBytes);
  EXPECT_EQ(std::string(dds.begin() + 84, dds.begin() + 88), texture.fourCc);
  EXPECT_EQ(little32(dds, 12), texture.height);
  EXPECT_EQ(little32(dds, 16), texture.width);
  const std::string image = firstBlob(testing::readAll(binary), texture.imageBytes);
  ASSERT_EQ(image.size(), texture.imageBytes) << "no blob of that size in " << texture.file;
  EXPECT_TRUE(image == std::string(dds.begin() + kDdsHeaderSize, dds.end()))
      << "the first image differs";
}

// WheelCompleteMap: written by the game, its blob not counted among the
// children of cHcImageDx. philadelphia: from the texture compiler.
INSTANTIATE_TEST_SUITE_P(
    Field, RealTextures,
    ::testing::Values(RealTexture{"WheelCompleteMap.TgPcDx", "DXT3", 1024, 1024, 1048576},
                      RealTexture{"philadelphia.TgPcDx", "DXT5", 256, 64, 16384}),
    [](const auto& info) {
      const std::string file = info.param.file;
      return file.substr(0, file.find('.'));
    });

}  // namespace
}  // namespace vantrel::texture
