// The in-process UI tests share one shell, set up as the program's start-up sets it up.
#include <gtest/gtest.h>

#include "shell.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  quorvane::initializeShell();
  const int result = RUN_ALL_TESTS();
  quorvane::shutDownShell();
  return result;
}
