#include <gtest/gtest.h>

// Death tests re-run their test in a fresh process: a forked copy of a process
// that holds an X connection and a GL context is not safe to use.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  return RUN_ALL_TESTS();
}
