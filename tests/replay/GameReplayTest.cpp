#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "ReplayRunner.h"
#include "app/GameLevels.h"
#include "physic/CharacterBody.h"
#include "scene/LevelFiles.h"
#include "scene/SceneContainer.h"
#include "scene/mesh/Path.h"
#include "scene/mesh/Player.h"

namespace Vexa::replay {
namespace {

using nlohmann::json;

/// The state after each frame of a run of the real game, frame 1 first.
class GameReplayTest : public testing::Test {
 protected:
  std::vector<json> play(const std::string& name, LevelFactory levels = createGameLevel) {
    std::ifstream file(std::string(VEXA_GAME_REPLAYS) + "/" + name);
    std::string error;
    const std::optional<Replay> replay = parseReplay(file, error);
    EXPECT_TRUE(replay) << error;
    RunOptions options;
    options.stateEvery = 1;
    options.drawEveryFrame = false;
    options.shadowMapSize = 64;
    std::ostringstream lines;
    ReplayRunner(options, std::move(levels), lines).play(replay.value_or(Replay{}));
    std::vector<json> frames;
    std::istringstream text(lines.str());
    for (std::string line; std::getline(text, line);) frames.push_back(json::parse(line));
    return frames;
  }

  static glm::vec3 position(const json& frame) {
    const auto& p = frame.at("player");
    return {p[0].get<float>(), p[1].get<float>(), p[2].get<float>()};
  }
  static float height(const json& frame) { return position(frame).y; }
  static std::string bat(const json& frame) { return frame.at("bat").get<std::string>(); }
  static bool onGround(const json& frame) { return frame.at("onGround").get<bool>(); }
};

// Where the capsule's centre rests on the start platform (top 4.5).
const glm::vec3 restingAtStart(0.0f, 7.375f, -7.0f);

void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

TEST_F(GameReplayTest, Level1WalkJumpTurnSwingAndFallBackToTheStart) {
  const std::vector<json> run = play("level1_walk.replay");
  ASSERT_EQ(run.size(), 481u);
  const auto at = [&run](std::size_t frame) -> const json& { return run.at(frame - 1); };

  // Spawned at (0, 8, -7), it settles on the start platform, the bat at rest.
  expectNear(position(at(30)), restingAtStart, 1e-3f);
  EXPECT_TRUE(onGround(at(30)));
  EXPECT_EQ(bat(at(30)), "Idle");
  EXPECT_FALSE(at(30).at("floatMode").get<bool>());

  // Two seconds forward at 18 units a second, across the gap onto the first platform.
  EXPECT_EQ(bat(at(40)), "Walk");
  const glm::vec3 walked = position(at(150)) - position(at(30));
  EXPECT_NEAR(glm::length(glm::vec2(walked.x, walked.z)), 34.0f, 2.0f);
  EXPECT_LT(walked.z, -33.0f) << "forward is -z at the start";
  EXPECT_FALSE(onGround(at(90)));
  EXPECT_EQ(bat(at(90)), "Idle") << "the bat rests in the air";
  EXPECT_GT(height(at(100)), height(at(30)) + 4.0f) << "the jump rises";
  EXPECT_TRUE(onGround(at(150)));
  EXPECT_NEAR(height(at(150)), 5.5f + 2.875f, 0.01f) << "standing on the first platform";

  // 30 frames of 15 pixels to the right turn the view 90 degrees.
  EXPECT_NEAR(at(210).at("yaw").get<float>() - at(180).at("yaw").get<float>(), 90.0f, 1e-3f);

  // The swing runs its segment once and falls back; a second swing never started.
  EXPECT_EQ(bat(at(211)), "Swing");
  std::size_t swingEnd = 211;
  while (swingEnd < run.size() && bat(at(swingEnd)) == "Swing") ++swingEnd;
  EXPECT_NEAR(static_cast<double>(swingEnd - 211), 26.0 / 24.0 * 60.0, 2.0);

  // Walking after the turn goes where the player looks: +x, off the platform's side.
  EXPECT_GT(position(at(290)).x, position(at(270)).x + 5.0f);
  EXPECT_EQ(bat(at(290)), "Walk");
  // The fall ends below the world: back at the start, looking ahead again.
  std::size_t respawn = 291;
  while (respawn < run.size() && position(at(respawn)).z < -30.0f) ++respawn;
  ASSERT_LT(respawn, run.size());
  EXPECT_LT(height(at(respawn - 1)), -40.0f);
  expectNear(position(at(run.size())), restingAtStart, 1e-3f);
  EXPECT_NEAR(at(run.size()).at("yaw").get<float>(), 1.5708f, 1e-4f);
  EXPECT_TRUE(onGround(at(run.size())));
}

TEST_F(GameReplayTest, ReplayingARunGivesTheSameStateLines) {
  EXPECT_EQ(play("level1_jump_height.replay"), play("level1_jump_height.replay"));
}

TEST_F(GameReplayTest, Level2FloatsEveryJumpFarHigherAndEachEndsOnTheGround) {
  const std::vector<json> standing = play("level1_jump_height.replay");
  float standingTop = 0.0f;
  for (const json& frame : standing) standingTop = std::max(standingTop, height(frame));
  const float standingRise = standingTop - restingAtStart.y;
  EXPECT_NEAR(standingRise, 4.8f, 0.2f);

  const std::vector<json> floats = play("level2_float_jumps.replay");
  ASSERT_EQ(floats.size(), 30u + 50u * 260u);
  EXPECT_TRUE(floats.front().at("floatMode").get<bool>());
  for (std::size_t jump = 0; jump < 50; ++jump) {
    const std::size_t start = 30 + jump * 260;  // the frame before Space
    const json& before = floats.at(start - 1);
    EXPECT_TRUE(onGround(before)) << "jump " << jump;
    expectNear(position(before), restingAtStart, 0.01f);
    float top = 0.0f;
    for (std::size_t f = start; f < start + 260; ++f) top = std::max(top, height(floats.at(f)));
    EXPECT_GT(top - restingAtStart.y, 5.0f * standingRise) << "jump " << jump;
  }
  expectNear(position(floats.back()), restingAtStart, 0.01f);
  EXPECT_TRUE(onGround(floats.back()));
}

// The player is put down on each level's finish marker as the level starts.
std::unique_ptr<Level> startingAtTheFinish(int index, PhysicsWorld& physics, float width,
                                           float height) {
  std::unique_ptr<Level> level = createGameLevel(index, physics, width, height);
  for (const auto& object : level->scene().objects()) {
    const auto* geometry = dynamic_cast<const scene::mesh::Path*>(object.get());
    const scene::MeshObject* finish =
        geometry && index <= playableLevelCount
            ? const_cast<scene::mesh::Path*>(geometry)->findNode(finishedEvents[index - 1])
            : nullptr;
    if (finish) level->player().character().warp(glm::vec3(finish->globalMatrix()[3]));
  }
  return level;
}

TEST_F(GameReplayTest, FinishMarkersLeadThroughTheLevelsToAClosingSceneThatOnlyEndsWhenAsked) {
  const std::vector<json> run = play("closing_scene.replay", startingAtTheFinish);
  std::vector<int> levels;
  for (const json& frame : run) {
    const int level = frame.at("level").get<int>();
    if (levels.empty() || levels.back() != level) levels.push_back(level);
  }
  EXPECT_EQ(levels, (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(run.size(), 301u) << "the closing scene lasts until Escape";
  EXPECT_TRUE(run.back().at("events").empty());
  EXPECT_TRUE(run.back().at("enemies").empty());
}

}  // namespace
}  // namespace Vexa::replay
