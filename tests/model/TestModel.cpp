#include "model/TestModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace Vexa::test {

std::string testModel(const std::string& name) {
  const std::filesystem::path file = std::filesystem::path(VEXA_TEST_MODELS_DIR) / (name + ".dae");
  std::ifstream in(file, std::ios::binary);
  EXPECT_TRUE(in) << "no test model " << file;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace Vexa::test
