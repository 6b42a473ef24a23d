#pragma once
// Errors as values: every codec step returns either its result or an Error
// that says where in the input the problem is and why.

#include <cstddef>
#include <string>
#include <utility>
#include <variant>

namespace serz {

struct Error {
  enum class At : unsigned char {
    Nowhere,     // no position applies (out of memory, the output failed)
    Byte,        // `offset` into a binary input
    LineColumn,  // `line` and `column` (and `offset`) in an XML input
    Record,      // `record`: index of the failing node of a Document
  };
  At at = At::Nowhere;
  std::size_t offset = 0;  // byte offset into the input
  int line = 0;            // 1-based line in XML input, else 0
  int column = 0;          // 1-based column in characters in XML input, else 0
  std::size_t record = 0;
  std::string reason;

  // "byte 123", "line 4, column 7", "record 9", or empty.
  std::string position() const;
  // "position: reason", or the reason alone when there is no position.
  std::string message() const;
};

// What a conversion returns when memory runs out (a huge input, or one that
// expands enormously), instead of ending the process.
inline Error outOfMemory() {
  return Error{Error::At::Nowhere, 0, 0, 0, 0, "not enough memory for the conversion"};
}

template <class T>
class Result {
 public:
  Result(T value) : data_(std::move(value)) {}
  Result(Error error) : data_(std::move(error)) {}

  bool ok() const { return data_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & { return std::get<0>(data_); }
  const T& value() const& { return std::get<0>(data_); }
  T&& value() && { return std::get<0>(std::move(data_)); }
  const Error& error() const { return std::get<1>(data_); }

 private:
  std::variant<T, Error> data_;
};

}  // namespace serz
