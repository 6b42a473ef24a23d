#pragma once
// A growable byte buffer with cheap appends, used by both writers. It keeps a
// raw write pointer so that small appends cost a compare and a copy.

#include "platform/core/LargeBuffer.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace serz {

class OutBuf {
public:
    explicit OutBuf(std::size_t reserve = 4096) { grow(reserve); }

    // Guarantees room for n more bytes and returns the write position.
    char* room(std::size_t n) {
        if (static_cast<std::size_t>(end_ - pos_) < n) grow(n);
        return pos_;
    }
    void advance(std::size_t n) { pos_ += n; }

    void put(char c) {
        room(1);
        *pos_++ = c;
    }
    void put(std::string_view s) {
        std::memcpy(room(s.size()), s.data(), s.size());
        pos_ += s.size();
    }
    template <std::size_t N>
    void lit(const char (&s)[N]) {
        std::memcpy(room(N - 1), s, N - 1);
        pos_ += N - 1;
    }
    void putU16(std::uint16_t v) { putLE(v, 2); }
    void putU32(std::uint32_t v) { putLE(v, 4); }
    void putLE(std::uint64_t v, int bytes) {
        char* p = room(8);
        for (int i = 0; i < bytes; ++i) p[i] = static_cast<char>(v >> (8 * i));
        pos_ += bytes;
    }
    // Overwrites four bytes already written.
    void patchU32(std::size_t offset, std::uint32_t v) {
        char* p = buf_.data() + offset;
        for (int i = 0; i < 4; ++i) p[i] = static_cast<char>(v >> (8 * i));
    }
    void repeat(char c, std::size_t n) {
        std::memset(room(n), c, n);
        pos_ += n;
    }

    std::size_t size() const { return pos_ ? static_cast<std::size_t>(pos_ - buf_.data()) : 0; }

    std::string take() {
        buf_.resize(size());
        std::string out = std::move(buf_);
        buf_.clear();
        pos_ = end_ = nullptr;
        return out;
    }

private:
    // Capacity is reserved generously (reserving costs no page faults), but
    // the string's size, which std::string zero-fills, advances a chunk at a
    // time just ahead of the write position.
    static constexpr std::size_t kChunk = 1u << 20;

    void grow(std::size_t n) {
        const std::size_t used = size();
        const std::size_t need = used + n;
        if (need > buf_.capacity()) {
            std::string next;
            std::size_t cap = buf_.capacity() * 2;
            next.reserve(cap > need ? cap : need);
            vantrel::platform::adviseLargeBuffer(next.data(), next.capacity());
            next.resize(used);
            if (used) std::memcpy(next.data(), buf_.data(), used);
            buf_ = std::move(next);
        }
        std::size_t size = used + kChunk;
        if (size < need) size = need;
        if (size > buf_.capacity()) size = buf_.capacity();
        buf_.resize(size);
        pos_ = buf_.data() + used;
        end_ = buf_.data() + buf_.size();
    }

    std::string buf_;
    char* pos_ = nullptr;
    char* end_ = nullptr;
};

}  // namespace serz
