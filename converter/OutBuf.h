#pragma once
// A byte buffer with cheap appends, used by both writers. It keeps a raw
// write pointer so that small appends cost a compare and a copy.
//
// It either grows to hold the whole output (take() hands it over), or hands
// its bytes to a ByteSink whenever its chunk is full, so that it never holds
// more than one chunk (or one longer item).

#include "converter/ByteSink.h"
#include "converter/Failure.h"
#include "platform/core/LargeBuffer.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace serz {

class OutBuf {
 public:
  // How far the text grows at a time in memory, and how much a sink is
  // handed at a time.
  static constexpr std::size_t kChunk = 1u << 20;

  // Reserves `reserve` bytes of capacity; only the chunk ahead of the write
  // position is filled, so a generous estimate costs no memory.
  explicit OutBuf(std::size_t reserve = 4096) {
    buf_.reserve(reserve);
    vantrel::platform::adviseLargeBuffer(buf_.data(), buf_.capacity());
    grow(0);
  }
  explicit OutBuf(ByteSink& sink, std::size_t chunk = kChunk) : sink_(&sink) { resizeChunk(chunk); }

  // Guarantees room for n more bytes and returns the write position.
  char* room(std::size_t n) {
    if (static_cast<std::size_t>(end_ - pos_) < n) makeRoom(n);
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

  // Bytes held (all of them, or those not yet handed to the sink).
  std::size_t size() const { return pos_ ? static_cast<std::size_t>(pos_ - buf_.data()) : 0; }

  // With a sink: hands over the bytes held; throws a Failure without a
  // position when the sink cannot take them.
  void flush() {
    const std::size_t n = size();
    if (!sink_ || n == 0) return;
    if (!sink_->write(std::string_view(buf_.data(), n)))
      detail::fail(detail::kNoPosition, "the output could not be written");
    handedOver_ += n;
    pos_ = buf_.data();
  }
  // With a sink: every byte written so far, handed over or not.
  std::uint64_t total() const { return handedOver_ + size(); }

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
  void makeRoom(std::size_t n) {
    if (!sink_) return grow(n);
    flush();
    if (static_cast<std::size_t>(end_ - pos_) < n) resizeChunk(n);
  }

  void resizeChunk(std::size_t n) {
    buf_.resize(n);
    pos_ = buf_.data();
    end_ = pos_ + n;
  }

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
  ByteSink* sink_ = nullptr;
  std::uint64_t handedOver_ = 0;
};

}  // namespace serz
