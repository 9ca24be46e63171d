// The bot's run through the whole game, kept in whole_game.replay. Played back on
// the replay runner, its state lines show every milestone of the game in order;
// the bot, started again, plays exactly that run; and the milestones are
// photographed into pictures/ of the build.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "Bot.h"
#include "ReplayRunner.h"
#include "app/GameLevels.h"
#include "support/PngPicture.h"

namespace Vexa::bot {
namespace {

using nlohmann::json;

replay::Replay keptReplay() {
  std::ifstream file(VEXA_WHOLE_GAME_REPLAY);
  std::string error;
  const std::optional<replay::Replay> replay = replay::parseReplay(file, error);
  EXPECT_TRUE(replay) << error;
  return replay.value_or(replay::Replay{});
}

std::vector<std::string> linesOf(std::istream& text) {
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

replay::RunOptions undrawn() {
  replay::RunOptions options;
  options.stateEvery = 1;
  options.drawEveryFrame = false;
  options.shadowMapSize = 64;
  return options;
}

/// A playthrough's state lines, frame 1 first, and what the game printed meanwhile.
struct Playthrough {
  std::vector<json> frames;
  std::string console;

  const json& at(long frame) const { return frames.at(static_cast<std::size_t>(frame - 1)); }
  long last() const { return static_cast<long>(frames.size()); }
  /// The first frame from `from` on for which `holds` is true; 0 when none.
  long firstFrom(long from, const std::function<bool(const json&)>& holds) const {
    for (long frame = std::max(from, 1L); frame <= last(); ++frame)
      if (holds(at(frame))) return frame;
    return 0;
  }
};

Playthrough collect(const std::function<void(replay::ReplayRunner&)>& play,
                    replay::RunOptions options = undrawn()) {
  std::ostringstream lines;
  replay::ReplayRunner runner(std::move(options), createGameLevel, lines);
  testing::internal::CaptureStdout();
  play(runner);
  Playthrough run;
  run.console = testing::internal::GetCapturedStdout();
  std::istringstream text(lines.str());
  for (const std::string& line : linesOf(text)) run.frames.push_back(json::parse(line));
  return run;
}

/// The kept run, played once for every test that reads it.
const Playthrough& keptRun() {
  static const Playthrough run =
      collect([](replay::ReplayRunner& runner) { runner.play(keptReplay()); });
  return run;
}

int level(const json& frame) {
  return frame.at("level").get<int>();
}
bool triggered(const json& frame, const std::string& event) {
  const auto& events = frame.at("events");
  return std::find(events.begin(), events.end(), event) != events.end();
}
glm::vec3 vec(const json& xyz) {
  return {xyz.at(0).get<float>(), xyz.at(1).get<float>(), xyz.at(2).get<float>()};
}
glm::vec3 player(const json& frame) {
  return vec(frame.at("player"));
}
const json& enemy(const json& frame, std::size_t index) {
  return frame.at("enemies").at(index);
}
bool hidden(const json& frame, std::size_t index) {
  return enemy(frame, index).at("hidden").get<bool>();
}

/// The frames at which the game's milestones are first seen in a run.
struct Milestones {
  long waveFalls = 0;
  std::vector<std::size_t> wave;
  long waveLanded = 0;
  long waveBeaten = 0;
  long batUpgraded = 0;
  long elevatorRisen = 0;
  long level2 = 0;
  long floatJump = 0;
  long level3 = 0;
  long bossWakes = 0;
  long bossOut = 0;
  long doorsOpen = 0;
  long doorsAhead = 0;
  long closingScene = 0;

  explicit Milestones(const Playthrough& run) {
    waveFalls = run.firstFrom(1, [](const json& f) { return triggered(f, "Level1ElevatorEvent"); });
    if (waveFalls < 2) return;
    // The wave: the enemies hidden until the elevator's event drops them.
    const json& before = run.at(waveFalls - 1);
    for (std::size_t i = 0; i < before.at("enemies").size(); ++i)
      if (hidden(before, i) && !hidden(run.at(waveFalls), i)) wave.push_back(i);
    waveLanded = run.firstFrom(waveFalls, [this](const json& f) {
      return std::all_of(wave.begin(), wave.end(), [&f](std::size_t i) {
        return !hidden(f, i) && vec(enemy(f, i).at("position")).y < 13.0f;
      });
    });
    waveBeaten = run.firstFrom(waveFalls, [this](const json& f) {
      return std::all_of(wave.begin(), wave.end(), [&f](std::size_t i) { return hidden(f, i); });
    });
    batUpgraded = run.firstFrom(1, [](const json& f) { return f.value("batVariant", 0) == 1; });
    elevatorRisen = run.firstFrom(batUpgraded, [](const json& f) {
      return level(f) == 1 && f.at("onGround").get<bool>() && player(f).y > 23.0f;
    });
    level2 = run.firstFrom(1, [](const json& f) { return level(f) == 2; });
    floatJump = run.firstFrom(level2, [](const json& f) { return player(f).y > 30.0f; });
    level3 = run.firstFrom(1, [](const json& f) { return level(f) == 3; });
    bossWakes =
        run.firstFrom(level3, [](const json& f) { return triggered(f, "Level3BossStartWalking"); });
    bossOut = run.firstFrom(level3, [](const json& f) {
      return level(f) == 3 && hidden(f, f.at("enemies").size() - 1);
    });
    doorsOpen =
        run.firstFrom(level3, [](const json& f) { return triggered(f, "Level3DoorsOpenEvent"); });
    // Walking up to the doorway in the west wall (x -28), looking west through it.
    doorsAhead = run.firstFrom(doorsOpen, [](const json& f) {
      const float west = std::fmod(f.at("yaw").get<float>() + 90.0f + 3600.0f, 360.0f);
      const glm::vec3 at = player(f);
      return std::min(west, 360.0f - west) < 2.0f && std::abs(at.z + 200.0f) < 1.5f &&
             at.x > -24.0f;
    });
    closingScene = run.firstFrom(1, [](const json& f) { return level(f) == 4; });
  }
};

void expectEveryLevelInTurn(const Playthrough& run, const Milestones& seen) {
  std::size_t from = 0;
  for (int number = 1; number <= 4; ++number) {
    const std::string line = "Switching to Level " + std::to_string(number) + "\n";
    from = run.console.find(line, from);
    EXPECT_NE(from, std::string::npos) << line;
  }
  EXPECT_EQ(level(run.at(run.last())), 4) << "the run ends in the closing scene";
  EXPECT_LT(seen.level2, seen.level3);
  EXPECT_LT(seen.level3, seen.closingScene);
}

/// Level 1: the wave is beaten, then the ruby upgrades the bat and the elevator rises.
void expectLevel1(const Playthrough& run, const Milestones& seen) {
  ASSERT_GT(seen.waveFalls, 0);
  EXPECT_EQ(seen.wave.size(), 7u);
  // They fall from 30 above the ruby onto the lowered elevator (top 11).
  for (const std::size_t i : seen.wave)
    EXPECT_NEAR(vec(enemy(run.at(seen.waveFalls), i).at("position")).y, 44.0f, 0.5f);
  ASSERT_GT(seen.waveLanded, 0);
  ASSERT_GT(seen.waveBeaten, seen.waveLanded);
  EXPECT_EQ(run.at(seen.waveBeaten).value("batVariant", -1), 0) << "the ruby comes first";
  ASSERT_GT(seen.batUpgraded, seen.waveBeaten);
  // Taken standing on the lowered elevator, under the ruby (3 above its top).
  const glm::vec3 taker = player(run.at(seen.batUpgraded));
  EXPECT_NEAR(taker.y, 11.0f + 2.875f, 0.1f);
  EXPECT_LT(glm::length(glm::vec2(taker.x + 10.0f, taker.z + 153.0f)), 2.0f * 1.5f);
  // The elevator carries the player up 10 to its rest, level with the ledge.
  ASSERT_GT(seen.elevatorRisen, seen.batUpgraded);
  EXPECT_LT(seen.elevatorRisen - seen.batUpgraded, 4 * 60);
  EXPECT_GT(player(run.at(seen.elevatorRisen)).z, -166.0f) << "still on the elevator";
  EXPECT_LT(seen.elevatorRisen, seen.level2);
  EXPECT_EQ(run.at(seen.level2 - 1).value("batVariant", -1), 1) << "kept to the end of the level";
}

/// Level 2 is crossed by float jumps up to the finish on the highest pillar.
void expectLevel2(const Playthrough& run, const Milestones& seen) {
  ASSERT_GT(seen.level2, 0);
  float highest = 0.0f;
  for (long frame = seen.level2; frame < seen.level3; ++frame) {
    EXPECT_TRUE(run.at(frame).at("floatMode").get<bool>()) << frame;
    highest = std::max(highest, player(run.at(frame)).y);
  }
  EXPECT_GT(highest, 105.0f + 2.875f) << "above the finish pillar's top";
  // The level ends coming down onto the finish gate (-5, -264) on the highest pillar.
  const glm::vec3 end = player(run.at(seen.level3 - 1));
  EXPECT_LT(glm::length(glm::vec2(end.x + 5.0f, end.z + 264.0f)), 5.0f * 1.5f);
  EXPECT_GT(end.y, 105.0f);
}

/// Level 3: the boss wakes, is toppled below 65, and the doors let the player through.
void expectLevel3(const Playthrough& run, const Milestones& seen) {
  ASSERT_GT(seen.bossWakes, seen.level3);
  const json& woken = run.at(seen.bossWakes);
  const std::size_t boss = woken.at("enemies").size() - 1;
  EXPECT_LE(glm::distance(player(woken), vec(enemy(woken, boss).at("position"))), 10.0f + 0.5f);
  ASSERT_GT(seen.bossOut, seen.bossWakes);
  EXPECT_LT(vec(enemy(run.at(seen.bossOut), boss).at("position")).y, 65.0f);
  EXPECT_GT(vec(enemy(run.at(seen.bossOut - 1), boss).at("position")).y, 65.0f - 2.0f);
  // The events are asked before the enemies move: the frame after the one that
  // hid the boss opens the doors.
  EXPECT_EQ(seen.doorsOpen, seen.bossOut + 1);
  // Through the doorway in the west wall (x -28) to the finish beyond.
  const long through =
      run.firstFrom(seen.doorsOpen, [](const json& f) { return player(f).x < -30.0f; });
  ASSERT_GT(through, 0);
  EXPECT_LT(through, seen.closingScene);
  EXPECT_NEAR(player(run.at(through)).z, -200.0f, 3.0f);
}

TEST(WholeGameTest, TheKeptRunShowsEveryMilestoneInOrder) {
  const Playthrough& run = keptRun();
  const Milestones seen(run);
  expectEveryLevelInTurn(run, seen);
  expectLevel1(run, seen);
  expectLevel2(run, seen);
  expectLevel3(run, seen);
}

TEST(WholeGameTest, TheBotPlaysExactlyTheKeptRunAgain) {
  replay::Replay played;
  const Playthrough driven = collect([&played](replay::ReplayRunner& runner) {
    played = Bot::play(runner, keptReplay().calendarStart);
  });
  std::ostringstream written;
  replay::writeReplay(written, played);
  std::istringstream bots(written.str());
  std::ifstream kept(VEXA_WHOLE_GAME_REPLAY);
  const std::vector<std::string> botsLines = linesOf(bots);
  const std::vector<std::string> keptLines = linesOf(kept);
  for (std::size_t i = 0; i < std::max(botsLines.size(), keptLines.size()); ++i) {
    ASSERT_EQ(i < botsLines.size() ? botsLines[i] : "(the end)",
              i < keptLines.size() ? keptLines[i] : "(the end)")
        << "line " << i + 1 << ": the bot plays differently now; rewrite the kept run with "
        << "vexa_bot " << VEXA_WHOLE_GAME_REPLAY << " from build/bin";
  }
  ASSERT_EQ(driven.frames.size(), keptRun().frames.size());
  for (std::size_t i = 0; i < driven.frames.size(); ++i)
    ASSERT_EQ(driven.frames[i], keptRun().frames[i]) << "frame " << i + 1;
}

TEST(WholeGameTest, PicturesOfEveryMilestone) {
  const Milestones seen(keptRun());
  const std::map<std::string, long> milestones{
      {"wave_on_the_elevator", seen.waveLanded}, {"the_ruby", seen.batUpgraded - 12},
      {"upgraded_bat", seen.batUpgraded + 30},   {"risen_elevator", seen.elevatorRisen},
      {"float_jump", seen.floatJump + 30},       {"the_boss", seen.bossWakes},
      {"open_doors", seen.doorsAhead},           {"closing_scene", seen.closingScene + 120}};
  std::filesystem::create_directories(VEXA_PICTURES_DIR);
  replay::RunOptions options = undrawn();
  options.stateEvery = 0;
  options.shadowMapSize = ShadowBuffers::gameSize;
  std::map<std::string, std::string> files;
  for (const auto& [name, frame] : milestones) {
    ASSERT_GT(frame, 0) << name;
    files[name] =
        (std::filesystem::path(VEXA_PICTURES_DIR) / ("milestone_" + name + ".png")).string();
    options.screenshots[frame] = files[name];
  }
  collect([](replay::ReplayRunner& runner) { runner.play(keptReplay()); }, options);
  for (const auto& [name, file] : files) {
    // A picture of the game, not of an empty frame: it holds many colours.
    const test::PngPicture shot(file);
    std::set<int> colours;
    for (int y = 0; y < shot.height(); y += 16)
      for (int x = 0; x < shot.width(); x += 16) {
        const test::Rgb c = shot.at(x, y);
        colours.insert((c[0] / 32) * 64 + (c[1] / 32) * 8 + c[2] / 32);
      }
    EXPECT_GT(colours.size(), 8u) << name;
  }
}

}  // namespace
}  // namespace Vexa::bot
