// The replaced operator new of the editor's programs keeps the contract of
// the standard one: large blocks are usable and zero-fill like any other,
// a failed allocation calls the new-handler and then throws.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <new>
#include <vector>

namespace {

int handlerCalls = 0;

void countAndGiveUp() {
  ++handlerCalls;
  std::set_new_handler(nullptr);
}

// Keeps the compiler from removing a new whose result is unused.
void* volatile sink = nullptr;

}  // namespace

TEST(HugePageAllocation, LargeAndSmallBlocksHoldWhatIsWritten) {
  std::vector<std::uint8_t> large(std::size_t{64} << 20);
  EXPECT_EQ(large.front(), 0);
  EXPECT_EQ(large[large.size() / 2], 0);
  EXPECT_EQ(large.back(), 0);
  for (std::size_t i = 0; i < large.size(); i += 4096)
    large[i] = static_cast<std::uint8_t>(i >> 12);
  for (std::size_t i = 0; i < large.size(); i += 4096)
    ASSERT_EQ(large[i], static_cast<std::uint8_t>(i >> 12));
  std::vector<int> small(3, 7);
  EXPECT_EQ(small[2], 7);
  auto* empty = new char[0];
  EXPECT_NE(empty, nullptr);
  delete[] empty;
}

TEST(HugePageAllocation, AFailedAllocationCallsTheHandlerThenThrows) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer's operator new aborts on an impossible size";
#endif
  handlerCalls = 0;
  std::set_new_handler(countAndGiveUp);
  const std::size_t impossible = std::numeric_limits<std::size_t>::max() / 2;
  EXPECT_THROW(sink = ::operator new(impossible), std::bad_alloc);
  EXPECT_EQ(handlerCalls, 1);
  std::set_new_handler(nullptr);
  EXPECT_EQ(::operator new(impossible, std::nothrow), nullptr);
}
