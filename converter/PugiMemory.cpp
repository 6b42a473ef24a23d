#include "converter/PugiMemory.h"

#include "converter/Memory.h"

#include <pugixml.hpp>

#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <map>
#include <mutex>

namespace serz {
namespace {

constexpr std::size_t kBlockBytes = 32u << 20;
constexpr std::size_t kLargest = 1u << 20;  // bigger requests go straight to malloc
constexpr std::size_t kAlign = 16;

struct Block {
    char* base;
    std::size_t used = 0;
    std::size_t live = 0;  // allocations not yet released
};

std::mutex gMutex;
std::map<std::uintptr_t, Block> gBlocks;  // by base address
Block* gCurrent = nullptr;

void* allocate(std::size_t size) {
    const std::size_t need = (size + kAlign - 1) & ~(kAlign - 1);
    if (need > kLargest) return std::malloc(size);
    std::lock_guard lock(gMutex);
    if (!gCurrent || gCurrent->used + need > kBlockBytes) {
        char* base = static_cast<char*>(std::malloc(kBlockBytes));
        if (!base) return nullptr;
        adviseLargeBuffer(base, kBlockBytes);
        // The previous block is freed once its last allocation is released.
        gCurrent = &gBlocks.emplace(reinterpret_cast<std::uintptr_t>(base), Block{base}).first->second;
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
            if (address < it->first + kBlockBytes) {
                if (--block.live == 0) {
                    if (&block == gCurrent) gCurrent = nullptr;
                    std::free(block.base);
                    gBlocks.erase(it);
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
