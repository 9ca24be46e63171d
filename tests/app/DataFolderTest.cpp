#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/DataFolder.h"

namespace Vexa::test {
namespace {

namespace fs = std::filesystem;

/// A temporary root laid out as an installed game: the program in usr/bin/, the data
/// in usr/share/vexa_game/, and a working directory of its own. The root is removed
/// afterwards.
class DataFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() /
           ("vexa_data_folder_" + std::to_string(static_cast<long>(::getpid())));
    fs::create_directories(root / "work");
    fs::create_directories(root / "usr/bin");
    fs::create_directories(root / "usr/share/vexa_game/Shader");
  }
  void TearDown() override { fs::remove_all(root); }

  std::optional<fs::path> dataFolder() const {
    return DataFolder::find(DataFolder::candidates(root / "work", root / "usr/bin/vexa_game"));
  }

  fs::path root;
};

// Started beside its data (a build's bin/ or the working directory) the game reads
// that data, as it always has; an installed game elsewhere reads the data installed
// beside its own programs before any at the configured prefix.
TEST_F(DataFolderTest, PrefersTheWorkingDirectoryThenTheProgramsFolderThenTheInstalledData) {
  EXPECT_EQ(dataFolder(), root / "usr/share/vexa_game");

  fs::create_directories(root / "usr/bin/Shader");
  EXPECT_EQ(dataFolder(), root / "usr/bin");

  fs::create_directories(root / "work/Shader");
  EXPECT_EQ(dataFolder(), root / "work");
}

// A Resources/ alone, or a file named Shader, is not the game's data.
TEST_F(DataFolderTest, TakesOnlyAFolderHoldingAShaderFolder) {
  fs::create_directories(root / "work/Resources");
  std::ofstream(root / "usr/bin/Shader") << "not a folder";
  EXPECT_EQ(dataFolder(), root / "usr/share/vexa_game");
}

}  // namespace
}  // namespace Vexa::test
