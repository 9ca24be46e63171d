#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "RandomPlay.h"
#include "ReplayRunner.h"
#include "app/GameLevels.h"

namespace Vexa::test {
namespace {

using nlohmann::json;

// Per level: 12,000 frames played undrawn, then 500 drawn with wireframe and
// blending toggled in turn every 100 frames, so each of their four combinations
// is drawn. Over the four levels: 50,000 frames, 2,000 of them drawn.
constexpr long undrawnFrames = 12000;
constexpr long drawnFrames = 500;

/// The first number in `value` that is not finite, by its path; empty if none.
std::string firstNonFinite(const json& value, const std::string& path = "") {
  if (value.is_number_float() && !std::isfinite(value.get<double>())) return path;
  if (value.is_structured()) {
    for (auto item = value.begin(); item != value.end(); ++item) {
      const std::string key = value.is_object() ? item.key() : "";
      const std::string found = firstNonFinite(*item, path + "/" + key);
      if (!found.empty()) return found;
    }
  }
  return "";
}

struct Run {
  std::string replayFile;
  long frames = 0;
  std::vector<std::string> stateLines;
  std::string errors;
};

/// Plays `play` through the real game, keeping its replay beside the build's
/// programs so a failure can be played again with vexa_replay.
Run playRandomly(const RandomPlay& play, const std::string& name, bool drawn) {
  const replay::Replay script = randomReplay(play);
  Run run;
  std::filesystem::create_directories("../random_play");
  run.replayFile = "../random_play/" + name + ".replay";
  std::ofstream file(run.replayFile);
  replay::writeReplay(file, script);

  replay::RunOptions options;
  options.stateEvery = 1;
  options.drawEveryFrame = drawn;
  options.shadowMapSize = 512;
  std::ostringstream lines;
  testing::internal::CaptureStderr();
  replay::ReplayRunner runner(options, createGameLevel, lines);
  runner.play(script);
  run.errors = testing::internal::GetCapturedStderr();
  run.frames = runner.framesPlayed();
  std::istringstream text(lines.str());
  for (std::string line; std::getline(text, line);) run.stateLines.push_back(line);
  return run;
}

void expectSound(const Run& run, long frames) {
  SCOPED_TRACE(run.replayFile);
  EXPECT_EQ(run.frames, frames);
  ASSERT_EQ(run.stateLines.size(), static_cast<std::size_t>(frames));
  EXPECT_EQ(run.errors.find("GL ERROR DETECTED"), std::string::npos) << run.errors;
  for (std::size_t f = 0; f < run.stateLines.size(); ++f) {
    // NaN and inf print as "nan" and "inf", which no JSON reader accepts.
    const json state = json::parse(run.stateLines[f], nullptr, false);
    ASSERT_FALSE(state.is_discarded()) << "frame " << f + 1 << ": " << run.stateLines[f];
    const std::string nonFinite = firstNonFinite(state);
    ASSERT_TRUE(nonFinite.empty()) << "frame " << f + 1 << " at " << nonFinite;
  }
}

class RandomPlayTest : public testing::TestWithParam<int> {};

TEST_P(RandomPlayTest, KeysMouseAndTogglesNeverCrashLeaveTheStateFiniteOrRaiseAGlError) {
  const int level = GetParam();
  const auto seed = static_cast<std::uint32_t>(level);
  RandomPlay undrawn{seed, level, undrawnFrames, {Key::F2, Key::F8, Key::F12}, {}, 0};
  expectSound(playRandomly(undrawn, "level" + std::to_string(level), false), undrawnFrames);

  // Nothing else toggles here: a toggle just before would hold the next one back.
  RandomPlay drawn{seed + 100, level, drawnFrames, {}, {Key::F3, Key::F9}, 100};
  expectSound(playRandomly(drawn, "level" + std::to_string(level) + "_drawn", true), drawnFrames);
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, RandomPlayTest, testing::Values(1, 2, 3, 4),
                         [](const testing::TestParamInfo<int>& info) {
                           return "Level" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace Vexa::test
