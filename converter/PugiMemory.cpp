#include "converter/PugiMemory.h"

#include "platform/core/LargeBuffer.h"

#include <pugixml.hpp>

#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <map>
#include <mutex>

namespace serz {
namespace {

// Blocks start small, so small documents stay cheap, and double up to 32 MiB.
constexpr std::size_t kFirstBlockBytes = 256u << 10;
constexpr std::size_t kMaxBlockBytes = 32u << 20;
constexpr std::size_t kLargest = 128u << 10;  // bigger requests go straight to malloc
constexpr std::size_t kAlign = 16;

struct Block {
  char* base;
  std::size_t size;
  std::size_t used = 0;
  std::size_t live = 0;  // allocations not yet released
};

std::mutex gMutex;
std::map<std::uintptr_t, Block> gBlocks;  // by base address
Block* gCurrent = nullptr;
std::size_t gNextBlockBytes = kFirstBlockBytes;

void* allocate(std::size_t size) {
  const std::size_t need = (size + kAlign - 1) & ~(kAlign - 1);
  if (need > kLargest) return std::malloc(size);
  std::lock_guard lock(gMutex);
  if (!gCurrent || gCurrent->used + need > gCurrent->size) {
    const std::size_t size = gNextBlockBytes;
    char* base = static_cast<char*>(std::malloc(size));
    if (!base) return nullptr;
    vantrel::platform::adviseLargeBuffer(base, size);
    if (gNextBlockBytes < kMaxBlockBytes) gNextBlockBytes *= 2;
    // The previous block is freed once its last allocation is released.
    gCurrent =
        &gBlocks.emplace(reinterpret_cast<std::uintptr_t>(base), Block{base, size}).first->second;
  }
  void* p = gCurrent->base + gCurrent->used;
  gCurrent->used += need;
  ++gCurrent->live;
  return p;
}

void deallocate(void* ptr) {
  if (!ptr) return;
  const auto address = reinterpret_cast<std::uintptr_t>(ptr);
  {
    std::lock_guard lock(gMutex);
    auto it = gBlocks.upper_bound(address);
    if (it != gBlocks.begin()) {
      --it;
      Block& block = it->second;
      if (address < it->first + block.size) {
        if (--block.live == 0) {
          if (&block == gCurrent) gCurrent = nullptr;
          std::free(block.base);
          gBlocks.erase(it);
          if (gBlocks.empty()) gNextBlockBytes = kFirstBlockBytes;
        }
        return;
      }
    }
  }
  std::free(ptr);
}

}  // namespace

void usePugiArena() {
  static std::once_flag once;
  std::call_once(once, [] { pugi::set_memory_management_functions(allocate, deallocate); });
}

}  // namespace serz
