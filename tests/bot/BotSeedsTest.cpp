// The bot finishes the game whatever the calendar: the enemies' choices, seeded
// by the calendar, differ from run to run, and the bot must still beat the wave
// and the boss and reach the closing scene.

#include <gtest/gtest.h>

#include <sstream>

#include "Bot.h"
#include "ReplayRunner.h"
#include "app/GameLevels.h"

namespace Vexa::bot {
namespace {

/// Ten minutes of play; the bot's runs take about two.
constexpr long frameLimit = 10 * 60 * 60;

class BotSeedsTest : public testing::TestWithParam<std::time_t> {};

TEST_P(BotSeedsTest, TheBotReachesTheClosingSceneAndLeavesIt) {
  replay::RunOptions options;
  options.drawEveryFrame = false;
  options.shadowMapSize = 64;
  options.frameLimit = frameLimit;
  std::ostringstream noLines;
  replay::ReplayRunner runner(options, createGameLevel, noLines);
  int lastLevel = 0;
  bool leftTheGame = false;
  testing::internal::CaptureStdout();
  const replay::Replay played = Bot::play(runner, GetParam(), [&](const BotView& view) {
    lastLevel = std::max(lastLevel, view.level);
  });
  testing::internal::GetCapturedStdout();
  leftTheGame = played.spans.back().input.keys.count(Key::Escape) != 0;
  EXPECT_EQ(lastLevel, 4);
  EXPECT_TRUE(leftTheGame) << "ended by Escape in the closing scene, not by the frame limit";
  EXPECT_LT(played.frameCount(), frameLimit);
}

INSTANTIATE_TEST_SUITE_P(FiveCalendars, BotSeedsTest,
                         testing::Values(1700003000, 1712345678, 1750000000, 1767225600,
                                         1800000000));

}  // namespace
}  // namespace Vexa::bot
