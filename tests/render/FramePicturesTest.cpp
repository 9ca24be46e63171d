// The picture the player sees, held to the one the game drew before its frame was
// made cheaper: one frame in each level of the bot's kept run, photographed and
// compared, at a quarter of its size, with the reference pictures beside this
// file. A shadow map that blurs too little, mipmaps left stale or blending lost
// all move the picture far past the threshold (a stale-mipmap picture scores 7%).
// The references were drawn with multisampling, which the window leaves out on a
// software rasterizer: the edges it no longer smooths cost up to 1.2%, most where
// the closing scene's letters stand against the sky.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "ReplayRunner.h"
#include "app/GameLevels.h"
#include "support/PngPicture.h"

namespace Vexa::test {
namespace {

/// The share of full scale (as ImageMagick's RMSE reports it) the pictures may differ by.
constexpr double allowedRmse = 0.015;
constexpr int shrink = 4;

/// The root mean square of the channel differences between `shot`, shrunk by
/// averaging `shrink` × `shrink` blocks, and `reference`, as a share of 255.
double rmse(const PngPicture& shot, const PngPicture& reference) {
  double sum = 0.0;
  for (int y = 0; y < reference.height(); ++y)
    for (int x = 0; x < reference.width(); ++x)
      for (int c = 0; c < 3; ++c) {
        double block = 0.0;
        for (int dy = 0; dy < shrink; ++dy)
          for (int dx = 0; dx < shrink; ++dx) block += shot.at(x * shrink + dx, y * shrink + dy)[c];
        const double difference = block / (shrink * shrink) - reference.at(x, y)[c];
        sum += difference * difference;
      }
  return std::sqrt(sum / (3.0 * reference.width() * reference.height())) / 255.0;
}

TEST(FramePicturesTest, EachLevelLooksAsItDidBeforeTheFrameWasMadeCheaper) {
  const std::map<long, std::string> references{{1500, "level1_frame1500.png"},
                                               {3700, "level2_frame3700.png"},
                                               {4500, "level3_frame4500.png"},
                                               {7000, "level4_frame7000.png"}};
  std::ifstream file(VEXA_WHOLE_GAME_REPLAY);
  std::string error;
  const auto replay = replay::parseReplay(file, error);
  ASSERT_TRUE(replay) << error;
  replay::RunOptions options;
  options.drawEveryFrame = false;
  std::filesystem::create_directories(VEXA_PICTURES_DIR);
  const auto shotOf = [](const std::string& name) {
    return (std::filesystem::path(VEXA_PICTURES_DIR) / ("frame_" + name)).string();
  };
  for (const auto& [frame, name] : references) options.screenshots[frame] = shotOf(name);
  std::ostringstream stateLines;
  replay::ReplayRunner runner(options, createGameLevel, stateLines);
  runner.play(*replay);
  ASSERT_TRUE(runner.missedScreenshots().empty());

  for (const auto& [frame, name] : references) {
    const PngPicture reference((std::filesystem::path(VEXA_REFERENCE_DIR) / name).string());
    const PngPicture shot(shotOf(name));
    ASSERT_EQ(reference.width() * shrink, shot.width()) << name;
    ASSERT_EQ(reference.height() * shrink, shot.height()) << name;
    EXPECT_LT(rmse(shot, reference), allowedRmse) << "frame " << frame << ": " << name;
  }
}

}  // namespace
}  // namespace Vexa::test
