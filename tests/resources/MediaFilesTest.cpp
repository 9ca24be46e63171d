// Every texture a model names and every sound the game plays decodes with the
// libraries the game reads them with, in the formats the game expects.
#include <IL/il.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "ImportedModel.h"

namespace Vexa::test {
namespace {

const std::vector<std::string> models = {"level1.dae",      "level2.dae",      "level3.dae",
                                         "level4.dae",      "level1_text.dae", "level2_text.dae",
                                         "level3_text.dae", "ruby.dae",        "terrain.dae",
                                         "hemisphere.dae",  "crosshair.dae"};

TEST(Textures, EveryNamedTextureExistsAndDecodes) {
  std::set<std::string> textures;
  unsigned colourMaterials = 0;
  for (const std::string& file : models) {
    ImportedModel model("Resources/Models/" + file);
    ASSERT_TRUE(model.loaded());
    for (const std::string& name : model.textureNames()) textures.insert(name);
    colourMaterials += model.colourMaterialCount();
  }
  EXPECT_GE(textures.size(), 3u) << "textures where they help";
  EXPECT_GT(colourMaterials, 0u) << "plain colours elsewhere";
  ilInit();
  for (const std::string& name : textures) {
    const std::string path = "Resources/Textures/" + name;
    ASSERT_TRUE(ilLoadImage(path.c_str())) << path;
    EXPECT_GT(ilGetInteger(IL_IMAGE_WIDTH), 0) << path;
    EXPECT_GT(ilGetInteger(IL_IMAGE_HEIGHT), 0) << path;
    const int format = ilGetInteger(IL_IMAGE_FORMAT);
    EXPECT_TRUE(format == IL_RGB || format == IL_RGBA) << path << " uploads as it decodes";
    EXPECT_EQ(ilGetInteger(IL_IMAGE_TYPE), IL_UNSIGNED_BYTE) << path;
  }
}

struct Recording {
  SF_INFO info{};
  std::vector<short> samples;
};

Recording record(const std::string& path) {
  Recording recording;
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &recording.info);
  EXPECT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
  if (file == nullptr) return recording;
  recording.samples.resize(static_cast<size_t>(recording.info.frames * recording.info.channels));
  sf_read_short(file, recording.samples.data(), static_cast<sf_count_t>(recording.samples.size()));
  sf_close(file);
  return recording;
}

double seconds(const Recording& recording) {
  return static_cast<double>(recording.info.frames) / recording.info.samplerate;
}

class Sound : public testing::TestWithParam<const char*> {};

TEST_P(Sound, IsShortMonoPcmPeakingNearMinusOneDbWithoutClicks) {
  const Recording recording = record(std::string("Resources/Sounds/") + GetParam());
  ASSERT_FALSE(recording.samples.empty());
  EXPECT_EQ(recording.info.samplerate, 44100);
  EXPECT_EQ(recording.info.channels, 1);
  EXPECT_EQ(recording.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  int peak = 0;
  for (const short sample : recording.samples) peak = std::max(peak, std::abs(int(sample)));
  const double peakDb = 20.0 * std::log10(peak / 32768.0);
  EXPECT_NEAR(peakDb, -1.0, 0.2);
  constexpr int silence = 328;  // 1% of full scale
  EXPECT_LE(std::abs(int(recording.samples.front())), silence);
  EXPECT_LE(std::abs(int(recording.samples.back())), silence);
  EXPECT_GT(seconds(recording), 0.1);
  EXPECT_LT(seconds(recording), 3.5);
}

INSTANTIATE_TEST_SUITE_P(Game, Sound,
                         testing::Values("footstep_grass.wav", "wood_knock.wav", "homerunbat.wav",
                                         "fast_swing_woosh.wav", "gem_collect.wav",
                                         "secret_chime.wav", "large_mechanical_door.wav",
                                         "cartoon_laugh.wav", "old_man_laugh.wav",
                                         "giant_startled.wav", "falling_yodel.wav",
                                         "cute_broop.wav", "reewrffft.wav", "scream_high.wav"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           return name.substr(0, name.find('.'));
                         });

TEST(SoundLengths, FootstepIsShortAndTheDoorRunsAboutThreeSeconds) {
  EXPECT_LT(seconds(record("Resources/Sounds/footstep_grass.wav")), 0.4);
  EXPECT_NEAR(seconds(record("Resources/Sounds/large_mechanical_door.wav")), 3.0, 0.3);
}

}  // namespace
}  // namespace Vexa::test
