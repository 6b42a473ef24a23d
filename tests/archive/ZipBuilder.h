#pragma once
#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

// Test archives, written with libzip's own writing API, and the byte
// surgery that turns them into damaged or hostile ones.
namespace vantrel::test {

class ZipBuilder {
 public:
  explicit ZipBuilder(const std::string& path) {
    int code = 0;
    zip_ = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!zip_) throw std::runtime_error("cannot create " + path);
  }
  ~ZipBuilder() {
    if (zip_) zip_discard(zip_);
  }

  // Returns libzip's index of the new member.
  zip_uint64_t add(const std::string& name, const std::string& content,
                   zip_int32_t method = ZIP_CM_DEFLATE) {
    zip_source_t* source = zip_source_buffer(zip_, copy(content), content.size(), 1);
    const zip_int64_t index = zip_file_add(zip_, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(source);
      throw std::runtime_error("cannot add " + name + ": " + zip_strerror(zip_));
    }
    zip_set_file_compression(zip_, static_cast<zip_uint64_t>(index), method, 0);
    return static_cast<zip_uint64_t>(index);
  }

  void addFolder(const std::string& name) { zip_dir_add(zip_, name.c_str(), ZIP_FL_ENC_UTF_8); }

  // False when this libzip cannot write AES encryption.
  bool addEncrypted(const std::string& name, const std::string& content) {
    if (!zip_encryption_method_supported(ZIP_EM_AES_256, 1)) return false;
    const zip_uint64_t index = add(name, content);
    return zip_file_set_encryption(zip_, index, ZIP_EM_AES_256, "secret") == 0;
  }

  // A member whose source does not tell its size in advance: libzip then
  // writes its local header in the ZIP64 form, as it must for members that
  // may exceed 4 GB.
  void addOfUnknownSize(const std::string& name, const std::string& content) {
    auto* state = new Unsized{content};
    zip_source_t* source = zip_source_function(zip_, &Unsized::callback, state);
    if (zip_file_add(zip_, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0)
      throw std::runtime_error("cannot add " + name);
  }

  void close() {
    if (zip_close(zip_) != 0)
      throw std::runtime_error(std::string("zip_close: ") + zip_strerror(zip_));
    zip_ = nullptr;
  }

 private:
  static void* copy(const std::string& content) {
    void* bytes = std::malloc(content.size() + 1);
    std::memcpy(bytes, content.data(), content.size());
    return bytes;
  }

  struct Unsized {
    std::string content;
    std::size_t at = 0;
    zip_error_t error{};
    static zip_int64_t callback(void* userdata, void* data, zip_uint64_t len,
                                zip_source_cmd_t cmd) {
      auto* self = static_cast<Unsized*>(userdata);
      switch (cmd) {
        case ZIP_SOURCE_OPEN:
          self->at = 0;
          return 0;
        case ZIP_SOURCE_READ: {
          const std::size_t n = std::min<std::size_t>(len, self->content.size() - self->at);
          std::memcpy(data, self->content.data() + self->at, n);
          self->at += n;
          return static_cast<zip_int64_t>(n);
        }
        case ZIP_SOURCE_CLOSE:
          return 0;
        case ZIP_SOURCE_STAT: {
          auto* st = static_cast<zip_stat_t*>(data);
          zip_stat_init(st);  // no size: not known in advance
          return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
          return zip_error_to_data(&self->error, data, len);
        case ZIP_SOURCE_FREE:
          delete self;
          return 0;
        case ZIP_SOURCE_SUPPORTS:
          return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                                ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                                -1);
        default:
          return -1;
      }
    }
  };

  zip_t* zip_ = nullptr;
};

inline std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline void putU32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline std::uint32_t getU32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// Rewrites the uncompressed size an archive of one member declares, in its
// local header (offset 22) and its central directory entry (offset 24).
inline void setDeclaredSize(std::string& bytes, std::uint32_t size) {
  const std::size_t local = bytes.find("PK\x03\x04");
  const std::size_t central = bytes.rfind("PK\x01\x02");
  if (local != 0 || central == std::string::npos) throw std::runtime_error("not one member");
  putU32(bytes, local + 22, size);
  putU32(bytes, central + 24, size);
}

// Replaces every occurrence of from (a name, in both headers) by to, of the
// same length.
inline void replaceAll(std::string& bytes, const std::string& from, const std::string& to) {
  for (std::size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + 1))
    bytes.replace(at, from.size(), to);
}

}  // namespace vantrel::test
