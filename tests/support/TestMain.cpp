#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Death tests re-run their test in a fresh process: a forked copy of a process
  // that holds an X connection and a GL context is not safe to use.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // Fatal errors wait for Enter on a terminal; tests must never wait for a person.
  if (std::freopen("/dev/null", "r", stdin) == nullptr) return 1;
  return RUN_ALL_TESTS();
}
