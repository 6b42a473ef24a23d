// The main of test programs that run on a real editor control.
#include <gtest/gtest.h>

#include "tests/support/TestEditor.h"

int main(int argc, char** argv) {
  const auto toolkit = vantrel::testing::startToolkit(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
