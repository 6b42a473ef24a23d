#pragma once
// Errors as values: every codec step returns either its result or an Error
// that says where in the input the problem is and why.

#include <cstddef>
#include <string>
#include <utility>
#include <variant>

namespace serz {

struct Error {
    std::size_t offset = 0;  // byte offset into the input
    int line = 0;            // 1-based line for XML input, 0 for binary input
    int column = 0;          // 1-based column (characters) for XML input
    std::string reason;

    // "byte 123" or "line 4, column 7".
    std::string position() const;
};

// What a conversion returns when memory runs out (a huge input, or one that
// expands enormously), instead of ending the process.
inline Error outOfMemory() { return Error{0, 0, 0, "not enough memory for the conversion"}; }

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
