#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "ReplayRunner.h"
#include "app/GameLevels.h"
#include "physic/CharacterBody.h"
#include "scene/mesh/CharacterModels.h"
#include "scene/mesh/Player.h"
#include "support/FinishingLevels.h"

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

  static const json& enemy(const json& frame, std::size_t index) {
    return frame.at("enemies").at(index);
  }
  static glm::vec3 enemyPosition(const json& frame, std::size_t index) {
    const auto& p = enemy(frame, index).at("position");
    return {p[0].get<float>(), p[1].get<float>(), p[2].get<float>()};
  }
  static int enemyState(const json& frame, std::size_t index) {
    return enemy(frame, index).at("state").get<int>();
  }
  static bool hidden(const json& frame, std::size_t index) {
    return enemy(frame, index).at("hidden").get<bool>();
  }
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

TEST_F(GameReplayTest, FinishMarkersLeadThroughTheLevelsToAClosingSceneThatOnlyEndsWhenAsked) {
  const std::vector<json> run = play("closing_scene.replay", test::startingAtTheFinish);
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

// Enemies ----------------------------------------------------------------------------

enum State { Idle = 0, StartWalking = 1, Walking = 2, StopWalking = 3, Hit = 4 };

/// The clip of the enemy spawned at point `index`: Roller, Jumper, Walker, Roller, ...
const scene::mesh::EnemyClip& spawnedClip(std::size_t index) {
  static const scene::mesh::EnemyClip* clips[] = {
      &scene::mesh::rollerClip, &scene::mesh::jumperClip, &scene::mesh::walkerClip};
  return *clips[index % 3];
}

using Segment = std::pair<unsigned, unsigned>;

std::vector<Segment> segmentsOf(int state, const scene::mesh::EnemyClip& c) {
  switch (state) {
    case Idle:
      return {{c.idleAFrames.first, c.idleAFrames.last}, {c.idleBFrames.first, c.idleBFrames.last}};
    case StartWalking:
      return {{c.startWalkFrame, c.walkFrames.first}};
    case Walking:
      return {{c.walkFrames.first, c.walkFrames.last}};
    case StopWalking:
      return {{c.walkFrames.last, c.stopWalkFrame}};
    default:
      return {{c.hitFrames.first, c.hitFrames.last}};
  }
}

/// Whether enemy `index` plays the segment of its state. A state entered with its
/// segment cut short (standing up, or walking onto the target itself) starts its
/// own at the next update, so its first frame may still show the last one.
bool segmentFollowsState(const json& frame, const json& before, std::size_t index) {
  const json& now = frame.at("enemies").at(index);
  const Segment segment = now.at("segment").get<Segment>();
  const std::vector<Segment> expected = segmentsOf(now.at("state").get<int>(), spawnedClip(index));
  if (std::find(expected.begin(), expected.end(), segment) != expected.end()) return true;
  const json& earlier = before.at("enemies").at(index);
  return earlier.at("state") != now.at("state") && earlier.at("segment") == now.at("segment");
}

bool finite(const glm::vec3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The arena of level 1: top at 15, x from -30 to 10, z from -136 to -100. A capsule
// (height 2.4) resting on it has its centre 1.2 higher.
bool onArena(const glm::vec3& p) {
  return p.x > -30.0f && p.x < 10.0f && p.z > -136.0f && p.z < -100.0f && p.y > 16.0f &&
         p.y < 17.5f;
}

TEST_F(GameReplayTest, Level1EnemiesWanderTheirArenaForFiveMinutesWithoutLeavingIt) {
  const std::vector<json> run = play("level1_enemies_wander.replay");
  ASSERT_EQ(run.size(), 9000u);
  // Six on the arena, then the elevator's wave of seven, waiting out of play.
  ASSERT_EQ(run.front().at("enemies").size(), 13u);
  for (std::size_t e = 6; e < 13; ++e) EXPECT_TRUE(hidden(run.back(), e)) << "enemy " << e;
  using Transition = std::pair<int, int>;
  const std::set<Transition> cycle = {
      {Idle, StartWalking}, {StartWalking, Walking}, {Walking, StopWalking}, {StopWalking, Idle}};
  for (std::size_t e = 0; e < 6; ++e) {
    std::set<Transition> seen;
    float walked = 0.0f;
    for (std::size_t f = 1; f < run.size(); ++f) {
      const glm::vec3 p = enemyPosition(run[f], e);
      ASSERT_TRUE(finite(p)) << "enemy " << e << ", frame " << f + 1;
      ASSERT_TRUE(onArena(p)) << "enemy " << e << ", frame " << f + 1;
      ASSERT_FALSE(hidden(run[f], e));
      ASSERT_TRUE(segmentFollowsState(run[f], run[f - 1], e)) << "enemy " << e << ", frame " << f;
      const int from = enemyState(run[f - 1], e);
      const int to = enemyState(run[f], e);
      if (from != to) seen.insert({from, to});
      const glm::vec3 step = p - enemyPosition(run[f - 1], e);
      walked += glm::length(step);
      ASSERT_LT(glm::length(glm::vec2(step.x, step.z)) * 30.0f, 12.0f)
          << "unhit, nothing throws it; enemy " << e << ", frame " << f + 1;
    }
    EXPECT_EQ(seen, cycle) << "enemy " << e;
    EXPECT_GT(walked, 100.0f) << "enemy " << e;
  }
}

TEST_F(GameReplayTest, Level1BatHitsThrowEnemiesThatStandUpOnTheArenaOrFallOutOfPlay) {
  const std::vector<json> run = play("level1_enemy_hits.replay");
  const auto at = [&run](std::size_t frame) -> const json& { return run.at(frame - 1); };
  const auto firstFrame = [&](std::size_t from, auto holds) {
    std::size_t frame = from;
    while (frame < run.size() && !holds(at(frame))) ++frame;
    return frame;
  };
  for (const json& frame : run)
    for (std::size_t e = 0; e < 6; ++e) ASSERT_TRUE(finite(enemyPosition(frame, e)));

  // The Jumper (enemy 1), walking 8 units from the arena's edge, is struck 4 from the player.
  constexpr std::size_t jumper = 1;
  const std::size_t jumperHit =
      firstFrame(1, [](const json& f) { return enemyState(f, jumper) == Hit; });
  ASSERT_LT(jumperHit, run.size());
  EXPECT_TRUE(onArena(enemyPosition(at(jumperHit - 1), jumper)));
  EXPECT_LT(glm::distance(enemyPosition(at(jumperHit), jumper), position(at(jumperHit))), 5.0f);
  // Thrown over the edge, it tumbles down and is hidden once below -600.
  const std::size_t gone = firstFrame(jumperHit, [](const json& f) { return hidden(f, jumper); });
  ASSERT_LT(gone, run.size());
  EXPECT_LT(enemyPosition(at(gone), jumper).y, -600.0f);
  EXPECT_GE(enemyPosition(at(gone - 1), jumper).y, -600.0f);
  EXPECT_EQ(enemyPosition(at(run.size()), jumper), enemyPosition(at(gone + 1), jumper))
      << "out of play, it falls no further";
  for (std::size_t f = jumperHit; f < gone; ++f) ASSERT_EQ(enemyState(at(f), jumper), Hit);
  EXPECT_FALSE(onArena(enemyPosition(at(jumperHit + 60), jumper)));

  // The Roller (enemy 3) is thrown across the arena and tumbles while it flies.
  constexpr std::size_t roller = 3;
  const std::size_t rollerHit =
      firstFrame(1, [](const json& f) { return enemyState(f, roller) == Hit; });
  ASSERT_LT(rollerHit, run.size());
  EXPECT_GT(enemyPosition(at(rollerHit + 20), roller).y, 19.0f) << "it flies";
  // It stands up as soon as it is slower than 4 units a second, and walks on.
  const std::size_t stoodUp =
      firstFrame(rollerHit, [](const json& f) { return enemyState(f, roller) != Hit; });
  ASSERT_LT(stoodUp, run.size());
  EXPECT_EQ(enemyState(at(stoodUp), roller), Idle);
  const auto speedAt = [&](std::size_t frame) {
    return glm::distance(enemyPosition(at(frame), roller), enemyPosition(at(frame - 1), roller)) *
           60.0f;
  };
  EXPECT_LT(speedAt(stoodUp), 4.5f);
  for (std::size_t f = rollerHit + 1; f < stoodUp - 1; ++f) EXPECT_GT(speedAt(f), 3.5f) << f;
  const std::size_t walks =
      firstFrame(stoodUp, [](const json& f) { return enemyState(f, roller) == Walking; });
  ASSERT_LT(walks, run.size());
  EXPECT_GT(glm::distance(enemyPosition(at(run.size()), roller), enemyPosition(at(walks), roller)),
            1.0f);
  EXPECT_TRUE(onArena(enemyPosition(at(run.size()), roller)));
  EXPECT_FALSE(hidden(at(run.size()), roller));

  // The segment always follows the state, the tumbling one included.
  for (std::size_t f = 2; f <= run.size(); ++f)
    for (std::size_t e = 0; e < 6; ++e) ASSERT_TRUE(segmentFollowsState(at(f), at(f - 1), e)) << f;
}

// The player is put down on the tower T2, beside two of level 2's enemies: 5
// units behind the first spawn point, the Roller's, looking at it.
std::unique_ptr<Level> besideLevel2Enemies(int index, PhysicsWorld& physics, float width,
                                           float height) {
  std::unique_ptr<Level> level = createGameLevel(index, physics, width, height);
  if (index != 2) return level;
  for (const auto& object : level->scene().objects()) {
    if (auto* geometry = dynamic_cast<scene::mesh::Path*>(object.get())) {
      const auto& spawns = geometry->requiredNode(spawnerNode).children();
      const glm::vec3 roller(spawns.front()->globalMatrix()[3]);
      level->player().character().warp(roller + glm::vec3(0.0f, 1.0f, 5.0f));
    }
  }
  return level;
}

TEST_F(GameReplayTest, Level2EnemiesKeepStillUntilTouchedAndOnlyFloatModeBowlsThemOver) {
  const std::vector<json> run = play("level2_enemy_touches.replay", besideLevel2Enemies);
  const auto at = [&run](std::size_t frame) -> const json& { return run.at(frame - 1); };
  constexpr std::size_t roller = 0;
  constexpr std::size_t jumper = 1;
  for (std::size_t f = 2; f <= run.size(); ++f) {
    ASSERT_EQ(at(f).at("level").get<int>(), 2);
    for (std::size_t e = 0; e < 6; ++e) ASSERT_TRUE(segmentFollowsState(at(f), at(f - 1), e)) << f;
    for (std::size_t e = jumper; e < 6; ++e) {
      ASSERT_EQ(enemyState(at(f), e), Idle) << "enemy " << e << ", frame " << f;
      const float moved = glm::distance(enemyPosition(at(f), e), enemyPosition(at(60), e));
      EXPECT_TRUE(f < 60 || moved < 0.01f) << "enemy " << e << " moved at frame " << f;
    }
  }

  // In float mode the player walks into the Roller and on; the Roller flies off the
  // tower and falls out of play.
  std::size_t bowled = 60;
  while (bowled < run.size() && enemyState(at(bowled), roller) == Idle) ++bowled;
  ASSERT_LT(bowled, 100u);
  EXPECT_TRUE(at(bowled).at("floatMode").get<bool>());
  EXPECT_EQ(enemyState(at(bowled), roller), Hit);
  EXPECT_GT(glm::distance(enemyPosition(at(bowled + 5), roller), enemyPosition(at(bowled), roller)),
            4.0f);
  for (std::size_t f = bowled; f < bowled + 5; ++f) EXPECT_EQ(height(at(f)), height(at(bowled)));
  EXPECT_TRUE(hidden(at(run.size()), roller));

  // Without float mode, walking into the Jumper throws the player back and up.
  std::size_t knocked = bowled;
  while (knocked < run.size() && height(at(knocked)) == height(at(bowled))) ++knocked;
  ASSERT_LT(knocked, run.size());
  EXPECT_FALSE(at(knocked).at("floatMode").get<bool>());
  EXPECT_LT(glm::distance(position(at(knocked)), enemyPosition(at(knocked), jumper)), 4.0f);
  float top = 0.0f;
  for (std::size_t f = knocked; f <= run.size(); ++f) top = std::max(top, height(at(f)));
  EXPECT_GT(top, height(at(bowled)) + 10.0f);
  EXPECT_TRUE(onGround(at(run.size())));
}

}  // namespace
}  // namespace Vexa::replay
