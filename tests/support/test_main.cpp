// Entry point of every test program: pins the fonts before anything loads fontconfig.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  setenv("FONTCONFIG_FILE", KV_TEST_FONTCONFIG, 1);
  // Tests never open real windows unless they ask for the desktop back end themselves.
  setenv("KV_BACKEND", "headless", 0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
