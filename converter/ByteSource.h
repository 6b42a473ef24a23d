#pragma once
// Where a conversion takes its input from, a chunk at a time, so that input
// much larger than the memory at hand never has to be held whole.

#include <cstddef>

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

}  // namespace serz
