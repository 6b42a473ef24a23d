#pragma once
// A flat open-addressing map from string to index, used to intern element
// names and string values while reading XML. Keys are views; the caller
// keeps the text alive. About three times faster here than
// std::unordered_map, whose node-per-entry layout misses the cache.

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace serz {

class StringIndex {
 public:
  static constexpr std::uint32_t kAbsent = 0xFFFFFFFFu;

  StringIndex() : slots_(1024) {}

  static std::uint64_t hash(std::string_view s) {
    // 8 bytes at a time, multiply-xorshift mixing.
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ (s.size() * 0xFF51AFD7ED558CCDull);
    const char* p = s.data();
    std::size_t n = s.size();
    while (n >= 8) {
      std::uint64_t w;
      std::memcpy(&w, p, 8);
      h = (h ^ w) * 0xC4CEB9FE1A85EC53ull;
      h ^= h >> 29;
      p += 8;
      n -= 8;
    }
    if (n) {
      std::uint64_t w = 0;
      std::memcpy(&w, p, n);
      h = (h ^ w) * 0xC4CEB9FE1A85EC53ull;
    }
    h ^= h >> 32;
    h *= 0xFF51AFD7ED558CCDull;
    return h ^ (h >> 29);
  }

  std::uint32_t find(std::string_view s) const { return find(s, hash(s)); }

  std::uint32_t find(std::string_view s, std::uint64_t h) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.value == kAbsent) return kAbsent;
      if (slot.hash == h && slot.size == s.size() &&
          std::memcmp(slot.data, s.data(), s.size()) == 0)
        return slot.value;
    }
  }

  // `s` must not be present yet.
  void insert(std::string_view s, std::uint64_t h, std::uint32_t value) {
    if ((count_ + 1) * 2 > slots_.size()) rehash();
    place({h, s.data(), static_cast<std::uint32_t>(s.size()), value});
    ++count_;
  }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    const char* data = nullptr;
    std::uint32_t size = 0;
    std::uint32_t value = kAbsent;
  };

  void place(const Slot& entry) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = entry.hash & mask;
    while (slots_[i].value != kAbsent) i = (i + 1) & mask;
    slots_[i] = entry;
  }

  void rehash() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& s : old)
      if (s.value != kAbsent) place(s);
  }

  std::vector<Slot> slots_;
  std::size_t count_ = 0;
};

}  // namespace serz
