#include <IL/il.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>

#include "model/ScratchFolder.h"
#include "model/TestModel.h"
#include "support/ProgramRun.h"

namespace Vexa::test {
namespace {

namespace fs = std::filesystem;

const fs::path testModels = "/usr/share/assimp/models/Collada";

using ViewerRun = ProgramRun;

/// Runs the viewer beside the tests' working folder (the game's folder) with `arguments`.
class ModelViewerTest : public testing::Test {
 protected:
  /// `environment` is prefixed to the command line ("NAME=value ...").
  ViewerRun view(const std::string& arguments, const std::string& environment = "") const {
    return ProgramRun::of(environment + " '" + viewer.string() + "' " + arguments + " 2>&1");
  }

  static std::pair<int, int> pngSize(const fs::path& png) {
    ilInit();
    const ILuint image = ilGenImage();
    ilBindImage(image);
    const bool loaded = ilLoadImage(png.c_str()) == IL_TRUE;
    const std::pair<int, int> size =
        loaded ? std::make_pair(ilGetInteger(IL_IMAGE_WIDTH), ilGetInteger(IL_IMAGE_HEIGHT))
               : std::make_pair(0, 0);
    ilDeleteImage(image);
    return size;
  }

  const fs::path viewer = fs::current_path() / "vexa_model_viewer";
  ScratchFolder scratch;
};

TEST_F(ModelViewerTest, RendersAFileToAPngAndPlaysASegmentAsAStrip) {
  scratch.write("square.dae", testModel("animated_square"));
  const ViewerRun still = view("square.dae still.png --size 64x48 --time 500");
  EXPECT_TRUE(still.exitedWith(0)) << still.output;
  EXPECT_EQ(pngSize("still.png"), std::make_pair(64, 48));
  const ViewerRun strip = view("square.dae strip.png --size 32x32 --segment 0 10 10 --samples 4");
  EXPECT_TRUE(strip.exitedWith(0)) << strip.output;
  EXPECT_EQ(pngSize("strip.png"), std::make_pair(128, 32));
}

TEST_F(ModelViewerTest, EndsLikeTheGameOnFilesItCannotShow) {
  scratch.write("broken.dae", "<COLLADA><library_geometries><geometry");
  const ViewerRun broken = view("broken.dae out.png");
  EXPECT_TRUE(broken.exitedWith(255));
  EXPECT_EQ(broken.output.rfind("model could not be loaded: ", 0), 0u) << broken.output;
  EXPECT_FALSE(fs::exists("out.png"));

  const ViewerRun usage = view("only-one-argument.dae");
  EXPECT_TRUE(usage.exitedWith(2)) << usage.output;
}

TEST_F(ModelViewerTest, AFatalErrorLeavesNoWorkingFolderBehind) {
  scratch.write("still.dae", testModel("red_square"));
  const fs::path temporary = fs::absolute("tmp");
  fs::create_directory(temporary);
  const ViewerRun run =
      view("still.dae out.png --segment 0 1 1", "TMPDIR='" + temporary.string() + "'");
  EXPECT_TRUE(run.exitedWith(255)) << run.output;
  EXPECT_EQ(run.output, "the model has no animation to play\n");
  EXPECT_TRUE(fs::is_empty(temporary));
}

TEST_F(ModelViewerTest, RefusesAStripTooLargeForOneImage) {
  scratch.write("square.dae", testModel("animated_square"));
  const ViewerRun run = view("square.dae strip.png --size 2048x2048 --segment 0 1 1 --samples 256");
  EXPECT_TRUE(run.exitedWith(255)) << run.output;
  EXPECT_EQ(run.output, "the contact sheet is too large: 524288x2048 pixels\n");
  EXPECT_FALSE(fs::exists("strip.png"));
}

/// Every COLLADA file of Debian's assimp-testmodels: a picture, or the game's own
/// failure message, and never a crash.
class TestModelTest : public ModelViewerTest, public testing::WithParamInterface<std::string> {};

TEST_P(TestModelTest, ShowsTheModelOrEndsWithTheGamesMessage) {
  if (!fs::exists(testModels / GetParam())) {
    GTEST_SKIP() << "no " << testModels.string()
                 << ": the package assimp-testmodels is not installed";
  }
  const ViewerRun run =
      view("'" + (testModels / GetParam()).string() + "' picture.png --size 96x96");
  ASSERT_TRUE(WIFEXITED(run.status)) << "ended by signal: " << run.output;
  if (run.exitedWith(0)) {
    EXPECT_EQ(pngSize("picture.png"), std::make_pair(96, 96));
  } else {
    EXPECT_TRUE(run.exitedWith(255)) << run.output;
    const bool gameMessage = run.output.rfind("model could not be loaded: ", 0) == 0 ||
                             run.output.rfind("could not load image texture ", 0) == 0;
    EXPECT_TRUE(gameMessage) << run.output;
  }
}

/// Without the package, one case stands in for the models and reports the skip.
std::vector<std::string> colladaTestModels() {
  const std::vector<std::string> missing = {"not_installed"};
  if (!fs::is_directory(testModels)) return missing;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(testModels)) {
    std::string extension = entry.path().extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".dae" || extension == ".zae") names.push_back(entry.path().filename());
  }
  std::sort(names.begin(), names.end());
  return names.empty() ? missing : names;
}

std::string testName(const testing::TestParamInfo<std::string>& info) {
  std::string name;
  for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(AssimpTestModels, TestModelTest, testing::ValuesIn(colladaTestModels()),
                         testName);

}  // namespace
}  // namespace Vexa::test
