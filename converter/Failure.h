#pragma once
// The one failure the codec's steps throw, and the one place that catches
// it: each entry point runs its work through guarded(), which also turns
// running out of memory into an Error.

#include "converter/Result.h"

#include <cstddef>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

namespace serz::detail {

inline constexpr std::size_t kNoPosition = std::numeric_limits<std::size_t>::max();

struct Failure {
  // Where the input is at fault, in the unit of the step that throws: a
  // byte offset into the binary or the XML text, or a record index for
  // encode(). kNoPosition when no position applies.
  std::size_t position;
  std::string reason;
};

[[noreturn]] inline void fail(std::size_t position, std::string reason) {
  throw Failure{position, std::move(reason)};
}

// A Failure's position as a byte offset, or as a record index.
inline Error byteError(const Failure& f) {
  return Error{Error::At::Byte, f.position, 0, 0, 0, f.reason};
}
inline Error recordError(const Failure& f) {
  return Error{Error::At::Record, 0, 0, 0, f.position, f.reason};
}

// Runs `body` (returning T); a Failure becomes `toError(failure)`.
template <class T, class Body, class ToError>
Result<T> guarded(Body&& body, ToError&& toError) {
  try {
    return body();
  } catch (const Failure& f) {
    if (f.position == kNoPosition) return Error{Error::At::Nowhere, 0, 0, 0, 0, f.reason};
    return toError(f);
  } catch (const std::bad_alloc&) {
    return outOfMemory();
  } catch (const std::length_error&) {
    return outOfMemory();
  }
}

}  // namespace serz::detail
