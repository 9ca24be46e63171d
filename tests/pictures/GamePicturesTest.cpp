// Pictures of the real game, played through the replay runner and kept in the
// build's pictures/ folder for looking at. Each is checked where a glance at a
// few pixels is enough: sky, ground, titles, the bat's swing, the crosshair's
// colours and the ruby's shadow.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <glm/gtc/matrix_transform.hpp>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ReplayRunner.h"
#include "app/GameLevels.h"
#include "physic/CharacterBody.h"
#include "physic/PhysicsScenery.h"
#include "scene/LevelFiles.h"
#include "scene/SceneContainer.h"
#include "scene/mesh/Bat.h"
#include "scene/mesh/LevelText.h"
#include "scene/mesh/Player.h"
#include "scene/mesh/Ruby.h"
#include "support/PngPicture.h"
#include "support/RunTimeFolderCopy.h"

namespace Vexa::test {
namespace {

using nlohmann::json;

std::string picturePath(const std::string& name) {
  return (std::filesystem::path(VEXA_PICTURES_DIR) / name).string();
}

/// Plays the replay `text` (from `level` of `levels` when given), writes the
/// pictures of the frames in `shots` into pictures/ and gives the state line of
/// every frame, frame 1 first.
std::vector<json> photographReplay(std::istream& text, const std::map<long, std::string>& shots,
                                   std::optional<int> level = std::nullopt,
                                   const LevelFactory& levels = createGameLevel) {
  std::string error;
  const auto replay = replay::parseReplay(text, error);
  EXPECT_TRUE(replay) << error;
  replay::RunOptions options;
  options.startLevel = level;
  options.stateEvery = 1;
  options.drawEveryFrame = false;
  std::filesystem::create_directories(VEXA_PICTURES_DIR);
  for (const auto& [frame, name] : shots) options.screenshots[frame] = picturePath(name);
  std::ostringstream stateLines;
  replay::ReplayRunner runner(options, levels, stateLines);
  runner.play(replay.value_or(replay::Replay{}));
  EXPECT_TRUE(runner.missedScreenshots().empty());
  std::vector<json> frames;
  std::istringstream lines(stateLines.str());
  for (std::string line; std::getline(lines, line);) frames.push_back(json::parse(line));
  return frames;
}

/// Plays `frames` (replay frame lines) at 60 frames a second from `level` of
/// `levels` and writes the pictures of the frames in `shots` into pictures/.
void photograph(const std::string& frames, const std::map<long, std::string>& shots, int level = 1,
                const LevelFactory& levels = createGameLevel) {
  std::istringstream text("frame-time 0.016666666666666666\ncalendar 1700000000\n" + frames);
  photographReplay(text, shots, level, levels);
}

PngPicture picture(const std::string& name) {
  return PngPicture(picturePath(name));
}

bool isSky(const Rgb& c) {
  return c[2] > 150 && c[2] > c[0] && c[2] > c[1];
}
bool isGrass(const Rgb& c) {
  return c[1] > c[0] && c[1] > c[2];
}
bool isTitleGold(const Rgb& c) {
  return c[0] > 120 && c[1] > 90 && c[2] < 80 && c[0] > c[1] && c[1] > c[2];
}
bool isWhite(const Rgb& c) {
  return c[0] > 200 && c[1] > 200 && c[2] > 200;
}
bool isRed(const Rgb& c) {
  return c[0] > 200 && c[1] < 80 && c[2] < 80;
}

/// A rectangle of pixels, from its top left corner to just before its bottom right.
struct Region {
  int left, top, right, bottom;
};

/// The pixels of `region` where `wanted` holds for the colours of `first` and `second`.
int countPairs(const PngPicture& first, const PngPicture& second, const Region& region,
               const std::function<bool(const Rgb&, const Rgb&)>& wanted) {
  int count = 0;
  for (int y = region.top; y < region.bottom; ++y)
    for (int x = region.left; x < region.right; ++x)
      count += wanted(first.at(x, y), second.at(x, y));
  return count;
}

int countIn(const PngPicture& shot, const Region& region, bool (*wanted)(const Rgb&)) {
  return countPairs(shot, shot, region,
                    [wanted](const Rgb& colour, const Rgb&) { return wanted(colour); });
}

// The view from the spawn, 1024 × 768: the sky fills the top and the spawn
// platform the bottom (the bat covers the right of the view).
const Region wholeView{0, 0, 1024, 768};
const Region topRight{880, 0, 1024, 40};
const Region bottomLeft{0, 700, 300, 768};
// The crosshair's right bar runs from 6 to 25 pixels right of the window's centre.
const Region crosshairRightBar{512 + 10, 384 - 1, 512 + 22, 384 + 1};

/// The game's level with nothing drawn but the title, the player's bat and the sky.
std::unique_ptr<Level> titleAlone(int index, PhysicsWorld& physics, float width, float height) {
  auto level = createGameLevel(index, physics, width, height);
  for (const auto& object : level->scene().objects()) {
    const bool shown = object.get() == &level->player() ||
                       dynamic_cast<const scene::mesh::Bat*>(object.get()) ||
                       dynamic_cast<const scene::mesh::LevelText*>(object.get());
    if (!shown) object->hidden = true;
  }
  return level;
}

bool closeColours(const Rgb& a, const Rgb& b) {
  for (int i = 0; i < 3; ++i)
    if (std::abs(a[i] - b[i]) > 8) return false;
  return true;
}

TEST(GamePicturesTest, EachLevelOpensUnderTheSkyOnItsPlatformFacingItsWholeTitle) {
  for (int level = 1; level <= 4; ++level) {
    const std::string name = "level" + std::to_string(level) + "_spawn.png";
    photograph("30\n", {{30, name}}, level);
    const PngPicture shot = picture(name);
    ASSERT_EQ(shot.width(), 1024) << name;
    EXPECT_EQ(countIn(shot, topRight, isSky), 144 * 40) << name;
    EXPECT_EQ(countIn(shot, bottomLeft, isGrass), 300 * 68) << name;
    if (level == 4) continue;
    // Every pixel of the title drawn alone shows the title in the level's picture too.
    const std::string alone = "level" + std::to_string(level) + "_title_alone.png";
    photograph("30\n", {{30, alone}}, level, titleAlone);
    const PngPicture title = picture(alone);
    EXPECT_GT(countIn(title, wholeView, isTitleGold), 8000) << alone;
    const int covered = countPairs(title, shot, wholeView, [](const Rgb& bare, const Rgb& seen) {
      return isTitleGold(bare) && !closeColours(bare, seen);
    });
    EXPECT_EQ(covered, 0) << name << ": title pixels covered by the level";
  }
}

// The terrain lies 600 units below the platforms, out of sight from every spawn:
// the player walks to the start platform's right edge and looks down.
TEST(GamePicturesTest, TheTerrainSpreadsFarBelowTheStartPlatform) {
  photograph("10\n36 D\n10 mouse 35 15\n4\n", {{60, "level1_terrain.png"}});
  const PngPicture shot = picture("level1_terrain.png");
  EXPECT_EQ(countIn(shot, topRight, isSky), 144 * 40);
  EXPECT_EQ(countIn(shot, {0, 600, 600, 768}, isGrass), 600 * 168);
}

// The swing is 26 frames of the bat's 107-frame clip; 0.3 s into it the bat
// crosses the view.
TEST(GamePicturesTest, TheBatSwingsAcrossTheViewAndNothingElseMoves) {
  photograph("10\n1 click\n24\n", {{10, "bat_rest.png"}, {29, "bat_mid_swing.png"}});
  const int differing = countPairs(picture("bat_rest.png"), picture("bat_mid_swing.png"), wholeView,
                                   std::not_equal_to<Rgb>());
  EXPECT_GT(differing, 10000);
  EXPECT_LT(differing, 100000);
}

// Big enough to stand in the line of sight once it has settled on the platform.
constexpr float enemySize = 1.5f;

/// Level 1 with an enemy's body standing `distance` ahead of the player's eye.
LevelFactory withEnemyAhead(float distance) {
  return [distance](int index, PhysicsWorld& physics, float width, float height) {
    auto level = createGameLevel(index, physics, width, height);
    const scene::mesh::Player& player = level->player();
    PhysicsScenery::addEnemy(physics, player.eyePosition() - distance * player.viewDirection(),
                             enemySize);
    return level;
  };
}

// The bat reaches 5.5 units from the eye.
TEST(GamePicturesTest, TheCrosshairTurnsRedWhileAnEnemyIsWithinTheBatsReach) {
  photograph("30\n", {{30, "crosshair_enemy_out_of_reach.png"}}, 1, withEnemyAhead(8.0f));
  photograph("30\n", {{30, "crosshair_enemy_in_reach.png"}}, 1, withEnemyAhead(4.5f));
  EXPECT_EQ(countIn(picture("crosshair_enemy_out_of_reach.png"), crosshairRightBar, isWhite), 24);
  EXPECT_EQ(countIn(picture("crosshair_enemy_in_reach.png"), crosshairRightBar, isRed), 24);
}

/// Level 1 with a ruby hanging at `position`.
LevelFactory withRubyAt(const glm::vec3& position) {
  return [position](int index, PhysicsWorld& physics, float width, float height) {
    auto level = createGameLevel(index, physics, width, height);
    LevelPrograms& programs = level->shaderPrograms();
    auto& ruby = level->scene().add(
        std::make_unique<scene::mesh::Ruby>(&programs.ruby, &programs.shadowMap));
    ruby.localMatrix = glm::translate(glm::mat4(1.0f), position) * ruby.localMatrix;
    return level;
  };
}

float brightness(const Rgb& c) {
  return 0.3f * c[0] + 0.59f * c[1] + 0.11f * c[2];
}

// The ruby hangs about five units above the start platform, ten ahead of the eye;
// its shadow falls on the platform below the middle of the view: dark in its core,
// fading into the lit grass over many pixels rather than at one step.
TEST(GamePicturesTest, ARubyCastsASoftShadowOnThePlatformBelowIt) {
  const glm::vec3 aboveThePlatform(0.0f, 10.0f, -17.0f);
  photograph("30\n", {{30, "shadow_without_ruby.png"}});
  photograph("30\n", {{30, "shadow_of_ruby.png"}}, 1, withRubyAt(aboveThePlatform));
  const PngPicture shadowed = picture("shadow_of_ruby.png");
  const PngPicture bare = picture("shadow_without_ruby.png");
  const auto darkening = [&](int x, int y) {
    return brightness(shadowed.at(x, y)) / brightness(bare.at(x, y));
  };
  EXPECT_LT(darkening(512, 615), 0.5f) << "the core of the shadow";
  EXPECT_GT(darkening(300, 615), 0.95f) << "open ground beside it";
  int penumbra = 0;
  for (int x = 300; x < 512; ++x) {
    const float ratio = darkening(x, 615);
    penumbra += ratio > 0.5f && ratio < 0.9f;
  }
  EXPECT_GT(penumbra, 15) << "the edge fades over many pixels";
}

// What a state line shows of one of level 1's enemies in the picture of its frame.
struct Sighting {
  bool inView;
  /// Where its body's centre lies in the picture, in pixels from the top left.
  glm::vec2 pixel;
  /// From the player's eye.
  float distance;
  int state;
  float height;
};

/// The camera of the state line `frame`: the eye above the player's position,
/// turned by its yaw and pitch, with the game's projection of a 1024 × 768 view.
Sighting sight(const json& frame, std::size_t enemy) {
  const auto vec = [](const json& v) {
    return glm::vec3(v[0].get<float>(), v[1].get<float>(), v[2].get<float>());
  };
  const glm::vec3 eye = vec(frame.at("player")) + glm::vec3(0.0f, eyeHeight, 0.0f);
  const glm::mat4 turn =
      glm::rotate(glm::mat4(1.0f), glm::radians(frame.at("pitch").get<float>()), {1, 0, 0}) *
      glm::rotate(glm::mat4(1.0f), glm::radians(frame.at("yaw").get<float>()), {0, 1, 0});
  const json& seen = frame.at("enemies").at(enemy);
  const glm::vec3 position = vec(seen.at("position"));
  const glm::vec4 clip = Level::projection(1024.0f, 768.0f) * turn *
                         glm::translate(glm::mat4(1.0f), -eye) * glm::vec4(position, 1.0f);
  const bool inView = !seen.at("hidden").get<bool>() && clip.w > 0.0f &&
                      std::abs(clip.x) < clip.w && std::abs(clip.y) < clip.w;
  const glm::vec2 pixel((clip.x / clip.w + 1.0f) * 512.0f, (1.0f - clip.y / clip.w) * 384.0f);
  return {inView, pixel, glm::distance(eye, position), seen.at("state").get<int>(), position.y};
}

/// The enemies a state line's picture shows, by their index in the level.
std::set<std::size_t> inView(const json& frame) {
  std::set<std::size_t> seen;
  for (std::size_t e = 0; e < frame.at("enemies").size(); ++e)
    if (sight(frame, e).inView) seen.insert(e);
  return seen;
}

// Level 1's arena spawns Roller, Jumper, Walker, Roller, Jumper, Walker.
constexpr std::size_t firstRoller = 0, firstJumper = 1, firstWalker = 2, secondRoller = 3,
                      secondJumper = 4, secondWalker = 5;
constexpr int idle = 0, walking = 2, hit = 4;
/// Where an enemy's body rests on the arena (top 15).
constexpr float standingHeight = 16.2f;

// The README's pictures of the arena's enemies, taken along the replay of the bat
// hits; what each one shows is read from the state line of its frame.
TEST(GamePicturesTest, TheArenasEnemiesIdleThenWalkUpAndAStruckRollerTumbles) {
  std::ifstream file(std::string(VEXA_GAME_REPLAYS) + "/level1_enemy_hits.replay");
  const std::vector<json> run = photographReplay(
      file,
      {{510, "enemies_idle.png"}, {780, "enemies_walking.png"}, {810, "enemies_tumbling.png"}});
  ASSERT_GE(run.size(), 810u);
  const auto at = [&run](std::size_t frame) -> const json& { return run.at(frame - 1); };

  // 510: a Jumper idles just ahead, its back turned; a second Jumper and a Roller
  // idle further off on the left, the two Walkers far off on the right.
  const json& idling = at(510);
  EXPECT_EQ(inView(idling), (std::set<std::size_t>{firstRoller, firstJumper, firstWalker,
                                                   secondJumper, secondWalker}));
  for (const std::size_t e : inView(idling)) EXPECT_EQ(sight(idling, e).state, idle) << e;
  EXPECT_LT(sight(idling, firstJumper).distance, 6.0f);
  EXPECT_NEAR(sight(idling, firstJumper).pixel.x, 512.0f, 50.0f);
  for (const std::size_t e : {firstRoller, secondJumper}) {
    EXPECT_LT(sight(idling, e).pixel.x, 300.0f) << e;
    EXPECT_GT(sight(idling, e).distance, 10.0f) << e;
  }
  for (const std::size_t e : {firstWalker, secondWalker}) {
    EXPECT_GT(sight(idling, e).pixel.x, 800.0f) << e;
    EXPECT_GT(sight(idling, e).distance, 20.0f) << e;
  }

  // 780: the second Roller walks up within the bat's reach as the swing begins,
  // the two Walkers walk up behind it, the first Roller walks at the left edge.
  const json& walkingUp = at(780);
  EXPECT_EQ(inView(walkingUp),
            (std::set<std::size_t>{firstRoller, firstWalker, secondRoller, secondWalker}));
  for (const std::size_t e : inView(walkingUp)) EXPECT_EQ(sight(walkingUp, e).state, walking) << e;
  EXPECT_EQ(walkingUp.at("bat").get<std::string>(), "Swing");
  EXPECT_LT(sight(walkingUp, secondRoller).distance, 5.5f) << "within the bat's reach";
  for (const std::size_t e : {firstWalker, secondWalker}) {
    EXPECT_GT(sight(walkingUp, e).distance, 10.0f) << e;
    EXPECT_LT(sight(walkingUp, e).pixel.y, sight(walkingUp, secondRoller).pixel.y) << "behind";
  }
  EXPECT_LT(sight(walkingUp, firstRoller).pixel.x, 50.0f);
  EXPECT_EQ(countIn(picture("enemies_walking.png"), crosshairRightBar, isRed), 24);

  // 810: the struck Roller tumbles through the air against the sky in the middle
  // of the view; the first Roller and the second Jumper walk on the arena below.
  const json& tumbling = at(810);
  EXPECT_EQ(inView(tumbling), (std::set<std::size_t>{firstRoller, secondRoller, secondJumper}));
  const Sighting struck = sight(tumbling, secondRoller);
  EXPECT_EQ(struck.state, hit);
  EXPECT_GT(struck.height, standingHeight + 3.0f) << "in the air";
  EXPECT_LT(glm::distance(struck.pixel, glm::vec2(512.0f, 384.0f)), 60.0f);
  const PngPicture flight = picture("enemies_tumbling.png");
  const int x = static_cast<int>(struck.pixel.x), y = static_cast<int>(struck.pixel.y);
  EXPECT_FALSE(isSky(flight.at(x, y)));
  EXPECT_TRUE(isSky(flight.at(x, y - 80)) && isSky(flight.at(x, y + 80)));
  for (const std::size_t e : {firstRoller, secondJumper}) {
    EXPECT_EQ(sight(tumbling, e).state, walking) << e;
    EXPECT_NEAR(sight(tumbling, e).height, standingHeight, 0.1f) << e;
  }
}

/// Assimp's COLLADA.dae test model (a floor 8 by 4 metres and the word "Collada" on
/// it, in centimetres, y up), made level 2 the way the README's "Making a level"
/// says: the floor is the solid "Level", moved and five times enlarged so that it
/// lies under the player's start, the word likewise (drawn, not solid), and a
/// "Sun", three spawn points and a finish trigger 30 units to the start's right.
std::string madeLevelFromATestModel() {
  std::ifstream file("/usr/share/assimp/models/Collada/COLLADA.dae");
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const std::string enlarged = "<translate>0 0 -1000</translate><scale>5 5 5</scale>";
  const std::vector<std::pair<std::string, std::string>> edits{
      {R"(<node id="Floor" name="Floor">)", R"(<node id="Level" name="Level">)" + enlarged},
      {R"(<node id="Collada" name="Collada">)", R"(<node id="Collada" name="Collada">)" + enlarged},
      {"</visual_scene>",
       R"(<node id="Sun"><translate>-1000 15000 -1000</translate></node>
          <node id="Spawner">
            <node id="Spawn1"><translate>-500 200 -600</translate></node>
            <node id="Spawn2"><translate>500 200 -600</translate></node>
            <node id="Spawn3"><translate>0 200 -1500</translate></node>
          </node>
          <node id="Events">
            <node id="Level2FinishedEvent"><translate>1500 150 -500</translate></node>
          </node>
        </visual_scene>)"}};
  for (const auto& [from, to] : edits) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos) return "";
    text.replace(at, from.size(), to);
  }
  return text;
}

bool isRedPlastic(const Rgb& c) {
  return c[0] > 60 && c[0] > 2 * c[1] && c[0] > 2 * c[2];
}

// The level is accepted and played: the player stands on the floor, the enemies
// stand at their points, the word stands ahead, and the finish leads to level 3.
TEST(GamePicturesTest, AThirdPartyModelMadeALevelAsTheReadmeSaysIsStoodOnAndFinished) {
  RunTimeFolderCopy folder;
  const std::string level = madeLevelFromATestModel();
  ASSERT_FALSE(level.empty()) << "COLLADA.dae is not as it was";
  std::ofstream(folder.replace(levelPath(2))) << level;
  std::istringstream replay(
      "frame-time 0.016666666666666666\ncalendar 1700000000\n60\n110 D\n60\n");
  const std::vector<json> run = photographReplay(replay, {{60, "made_level.png"}}, 2);
  ASSERT_EQ(run.size(), 230u);
  const json& landed = run.at(59);
  EXPECT_TRUE(landed.at("onGround").get<bool>());
  const json& player = landed.at("player");
  EXPECT_NEAR(player[1].get<float>(), playerCapsule.standingHeight(), 1e-3)
      << "on the floor (top 0)";
  const std::vector<glm::vec2> spawns{{-10.0f, -12.0f}, {10.0f, -12.0f}, {0.0f, -30.0f}};
  ASSERT_EQ(landed.at("enemies").size(), spawns.size());
  for (std::size_t e = 0; e < spawns.size(); ++e) {
    const json& enemy = landed.at("enemies").at(e);
    const glm::vec2 standing(enemy.at("position")[0].get<float>(),
                             enemy.at("position")[2].get<float>());
    EXPECT_LT(glm::distance(standing, spawns[e]), 0.5f) << e;
    EXPECT_EQ(enemy.at("state").get<int>(), idle) << e;
  }
  EXPECT_GT(countIn(picture("made_level.png"), wholeView, isRedPlastic), 100000) << "the word";
  EXPECT_EQ(run.back().at("level").get<int>(), 3) << "the finish trigger ends the level";
}

}  // namespace
}  // namespace Vexa::test
