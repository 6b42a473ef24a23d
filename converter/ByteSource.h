#pragma once
// Where a conversion takes its input from, a chunk at a time, so that input
// much larger than the memory at hand never has to be held whole.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <string_view>

namespace serz {

class ByteSource {
 public:
  // Reads up to `n` bytes into `to`. Returns how many were read, 0 at the
  // end of the input, or -1 when the input could not be read.
  virtual std::ptrdiff_t read(char* to, std::size_t n) = 0;
  // Starts again from the first byte. Used only to work out the line and
  // column of an error; false when the input cannot be read again.
  virtual bool restart() = 0;

 protected:
  ~ByteSource() = default;
};

// A text in memory handed out at most `piece` bytes at a time: what the
// benchmarks, the fuzzer and the tests read from.
class TextSource : public ByteSource {
 public:
  explicit TextSource(std::string_view text,
                      std::size_t piece = std::numeric_limits<std::size_t>::max())
      : text_(text), piece_(piece) {}
  std::ptrdiff_t read(char* to, std::size_t n) override {
    n = std::min({n, piece_, text_.size() - pos_});
    if (n != 0) std::memcpy(to, text_.data() + pos_, n);
    pos_ += n;
    return static_cast<std::ptrdiff_t>(n);
  }
  bool restart() override {
    pos_ = 0;
    return true;
  }
  std::size_t position() const { return pos_; }

 private:
  std::string_view text_;
  std::size_t piece_, pos_ = 0;
};

}  // namespace serz
