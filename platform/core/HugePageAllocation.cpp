// The program's operator new, for the programs that hold a whole document
// in the editor control: a large block is backed by huge pages where the
// system allows it.
//
// The control keeps its text and its colours in buffers of the document's
// size, which it fills with zeros as soon as they are allocated. With 4 KiB
// pages, each 4 KiB costs a page fault: about a tenth of the time of
// opening 50 MB of XML. The advice must come between the allocation and the
// first write, which only the allocation function itself can do, so the
// program replaces it. Small blocks are the C library's as before.
//
// Linked into the editor's programs on Linux only; a sanitizer build keeps
// the sanitizer's own operator new.
#include <cstdlib>
#include <new>

#include "platform/core/LargeBuffer.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VANTREL_SANITIZED_ALLOCATION 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VANTREL_SANITIZED_ALLOCATION 1
#endif

#if defined(__linux__) && !defined(VANTREL_SANITIZED_ALLOCATION)

void* operator new(std::size_t size) {
  if (size == 0) size = 1;
  for (;;) {
    if (void* block = std::malloc(size)) {
      if (size >= vantrel::platform::kLargeBufferMinimum)
        vantrel::platform::adviseLargeBuffer(block, size);
      return block;
    }
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}

void operator delete(void* block) noexcept { std::free(block); }

void operator delete(void* block, std::size_t) noexcept { std::free(block); }

#endif
