#pragma once
// Where a conversion hands its output, a chunk at a time, so that output
// much larger than the input never has to be held in memory.

#include <string_view>

namespace serz {

class ByteSink {
 public:
  // Takes the next bytes. Returns false when they could not be kept; the
  // conversion then stops, and the sink knows why.
  virtual bool write(std::string_view bytes) = 0;

 protected:
  ~ByteSink() = default;
};

}  // namespace serz
