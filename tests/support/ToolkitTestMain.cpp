// The main of test programs that run on a real editor control.
#include <gtest/gtest.h>

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

#include "tests/support/TestEditor.h"

int main(int argc, char** argv) {
  const auto toolkit = vantrel::testing::startToolkit(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
#ifdef _WIN32
  // Under Wine and Xvfb the window tests' process has been seen to hang
  // now and then after its last test, while it shut down: once the results
  // are written, it ends at once.
  std::fflush(nullptr);
  ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(result));
#endif
  return result;
}
