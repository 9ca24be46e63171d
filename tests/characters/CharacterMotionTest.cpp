// What each segment of the characters' clips does, measured on the imported files and
// timed the way the game times its segments.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>

#include "CharacterClip.h"
#include "CharacterFiles.h"
#include "platform/Geometry.h"
#include "scene/Level.h"
#include "scene/mesh/CharacterClips.h"

namespace Vexa::test {
namespace {

using namespace scene::mesh;

// The bat ------------------------------------------------------------------------------

/// The player's lens on a window of the game's size.
const glm::mat4 lens = Level::projection(1024.0f, 768.0f);

glm::vec3 inCameraSpace(const glm::vec3& filePoint) {
  return glm::vec3(batLocalMatrix() * glm::vec4(filePoint, 1.0f));
}

/// Where a camera-space point shows: -1..1 across the view in both directions.
glm::vec2 onScreen(const glm::vec3& p) {
  const glm::vec4 clip = lens * glm::vec4(p, 1.0f);
  return glm::vec2(clip) / clip.w;
}

class BatTest : public testing::TestWithParam<std::string> {
 protected:
  BatTest() : clip(GetParam(), batClip.frameCount), gripPoint(clip.restMatrix("Hands")[3]) {
    const std::vector<glm::vec3> vertices = clip.verticesOf("Hands");
    tip = *std::max_element(vertices.begin(), vertices.end(), [&](auto& a, auto& b) {
      return glm::distance(a, gripPoint) < glm::distance(b, gripPoint);
    });
  }

  glm::vec3 shown(const glm::vec3& bindPoint, double ticks) const {
    return inCameraSpace(clip.skinned(bindPoint, "Hands", ticks));
  }

  CharacterClip clip;
  glm::vec3 gripPoint;
  glm::vec3 tip;
};

TEST_P(BatTest, RestsAtTheLowerRightOfTheView) {
  const glm::vec2 grip = onScreen(shown(gripPoint, clip.ticksAt(0)));
  const glm::vec2 top = onScreen(shown(tip, clip.ticksAt(0)));
  EXPECT_GT(grip.x, 0.4f);
  EXPECT_LT(grip.y, -0.6f);
  EXPECT_GT(top.x, 0.1f);
  EXPECT_LT(top.x, 1.0f);
  EXPECT_LT(std::abs(top.y), 1.0f);
  for (const glm::vec3& vertex : clip.verticesOf("Hands")) {
    const glm::vec4 seen = lens * glm::vec4(shown(vertex, clip.ticksAt(0)), 1.0f);
    EXPECT_GT(seen.z, -seen.w) << "behind the near plane";
  }
}

TEST_P(BatTest, SwingTipCrossesTheCrosshairInTheHitWindow) {
  // The player tests for a hit between 0.30 s and 0.35 s after the swing starts.
  const unsigned swing = batClip.swingFirst;
  const glm::vec2 early = onScreen(shown(tip, clip.ticksAt(swing, 0.25)));
  const glm::vec2 opening = onScreen(shown(tip, clip.ticksAt(swing, 0.30)));
  const glm::vec2 closing = onScreen(shown(tip, clip.ticksAt(swing, 0.35)));
  EXPECT_GT(early.x, 0.0f);
  EXPECT_GT(opening.x, 0.0f);
  EXPECT_LT(closing.x, 0.0f);
  for (double seconds = 0.30; seconds <= 0.35; seconds += 0.005) {
    const glm::vec2 p = onScreen(shown(tip, clip.ticksAt(swing, seconds)));
    if (std::abs(p.x) < 0.15f) {
      EXPECT_LT(std::abs(p.y), 0.15f) << seconds;
    }
  }
}

TEST_P(BatTest, SwingFollowsThroughToTheLeftAndComesBack) {
  const glm::vec3 through = shown(tip, clip.ticksAt(batClip.swingFirst, 0.6));
  EXPECT_LT(through.x, -1.0f);
  const double end = clip.ticksAt(batClip.swingLast);
  EXPECT_LT(glm::distance(shown(tip, end), shown(tip, clip.ticksAt(0))), 1e-3f);
}

TEST_P(BatTest, WalkBobsOncePerFootstep) {
  // Two dips of the grip in one walk cycle.
  int dips = 0;
  float previousDrop = 0.0f;
  bool falling = false;
  const unsigned walk = batClip.walkFirst;
  const double cycle = (batClip.walkLast - walk) / 24.0;
  const float restHeight = shown(gripPoint, clip.ticksAt(walk)).y;
  for (double seconds = 0.0; seconds <= cycle; seconds += 1.0 / 96.0) {
    const float drop = restHeight - shown(gripPoint, clip.ticksAt(walk, seconds)).y;
    if (falling && drop < previousDrop - 1e-4f) ++dips;
    if (drop > previousDrop + 1e-4f) falling = true;
    if (drop < previousDrop - 1e-4f) falling = false;
    previousDrop = drop;
  }
  EXPECT_EQ(dips, 2);
}

INSTANTIATE_TEST_SUITE_P(BothBats, BatTest, testing::Values(batModelPath(0), batModelPath(1)),
                         [](const auto& info) { return info.index == 0 ? "Plain" : "Upgraded"; });

// The enemies --------------------------------------------------------------------------

constexpr float bodyCentreHeight = static_cast<float>(enemyBodyCentreHeight);

/// The Walker's speed while walking, seconds after the walk cycle started (base speed 3).
double walkerSpeed(double t) {
  return (std::sin(t * 3.0 * 2.5 + pi) + 1.0) * 3.0;
}

class WalkerTest : public testing::TestWithParam<std::string> {
 protected:
  WalkerTest() : clip(GetParam(), walkerClip.frameCount) {}
  CharacterClip clip;
};

TEST_P(WalkerTest, FeetAlternateDuringTheWalk) {
  const float ground = clip.nodeOrigin("Foot_L", clip.ticksAt(0)).z;
  float leftLift = 0.0f, rightLift = 0.0f, leftLiftWhileRight = 0.0f, rightLiftWhileLeft = 0.0f;
  const FrameRange walk = walkerClip.walkFrames;
  // The right foot steps in the first stride, from an eighth of the cycle to five
  // eighths, the left one in the second.
  const unsigned cycle = walk.last - walk.first;
  const unsigned leftLands = walk.first + cycle / 8, rightLands = leftLands + cycle / 2;
  for (unsigned frame = walk.first; frame <= walk.last; ++frame) {
    const double ticks = clip.ticksAt(frame);
    const float left = clip.nodeOrigin("Foot_L", ticks).z - ground;
    const float right = clip.nodeOrigin("Foot_R", ticks).z - ground;
    if (frame > leftLands && frame < rightLands) {
      rightLift = std::max(rightLift, right);
      leftLiftWhileRight = std::max(leftLiftWhileRight, left);
    } else if (frame > rightLands || frame < leftLands) {
      leftLift = std::max(leftLift, left);
      rightLiftWhileLeft = std::max(rightLiftWhileLeft, right);
    }
  }
  EXPECT_GT(rightLift, 0.25f);
  EXPECT_GT(leftLift, 0.25f);
  EXPECT_LT(leftLiftWhileRight, 0.1f);
  EXPECT_LT(rightLiftWhileLeft, 0.1f);
}

TEST_P(WalkerTest, StepsLandWhenTheGameMovesItSlowest) {
  // The feet are furthest apart (one lands) when the walking speed is lowest.
  auto spread = [&](double seconds) {
    const double ticks = clip.ticksAt(walkerClip.walkFrames.first, seconds);
    return clip.nodeOrigin("Foot_R", ticks).y - clip.nodeOrigin("Foot_L", ticks).y;
  };
  double slowest = 0.0;
  for (double t = 0.0; t < 0.5; t += 0.001) {
    if (walkerSpeed(t) < walkerSpeed(slowest)) slowest = t;
  }
  const double period = 2.0 * pi / 7.5;        // of the speed: one stride
  EXPECT_GT(spread(slowest), 0.8f);            // the left foot lands ahead
  EXPECT_LT(spread(slowest + period), -0.8f);  // a stride later the right one
  EXPECT_GT(spread(slowest), spread(slowest - 0.1));
  EXPECT_GT(spread(slowest), spread(slowest + 0.1));
}

INSTANTIATE_TEST_SUITE_P(WalkerAndBoss, WalkerTest, testing::Values(walkerModelPath, bossModelPath),
                         [](const auto& info) { return info.index == 0 ? "Walker" : "Boss"; });

/// Turn in degrees about the model's x axis from one matrix to the next, signed.
double turnAboutX(const glm::mat4& from, const glm::mat4& to) {
  const glm::quat delta = glm::quat_cast(glm::mat3(to) * glm::transpose(glm::mat3(from)));
  return glm::degrees(2.0 * std::atan2(static_cast<double>(delta.x), static_cast<double>(delta.w)));
}

TEST(RollerTest, BallTurnsOnceForwardsPerRollCycleAtTheGamesSpeed) {
  const CharacterClip clip(rollerModelPath, rollerClip.frameCount);
  const FrameRange roll = rollerClip.walkFrames;
  double turned = 0.0;
  for (unsigned frame = roll.first; frame < roll.last; ++frame) {
    turned += turnAboutX(clip.nodeMatrix("Ball", clip.ticksAt(frame)),
                         clip.nodeMatrix("Ball", clip.ticksAt(frame + 1)));
  }
  // +x turns the ball's top towards -y, where the Roller faces: it rolls forwards.
  EXPECT_NEAR(turned, 360.0, 1.0);
  const double radius = clip.nodeOrigin("Ball", clip.ticksAt(0)).z;
  const double rolledInGameUnits = 2.0 * pi * radius * 0.5;
  const double movedInGameUnits = 3.0 * (roll.last - roll.first) / 24.0;  // base speed
  EXPECT_NEAR(rolledInGameUnits / movedInGameUnits, 1.0, 0.05);
}

TEST(RollerTest, BallSpinsUpWhileStartingAndRunsDownWhileStopping) {
  const CharacterClip clip(rollerModelPath, rollerClip.frameCount);
  auto spin = [&](unsigned frame) {
    return turnAboutX(clip.nodeMatrix("Ball", clip.ticksAt(frame)),
                      clip.nodeMatrix("Ball", clip.ticksAt(frame + 1)));
  };
  const FrameRange roll = rollerClip.walkFrames;
  EXPECT_LT(std::abs(spin(rollerClip.startWalkFrame)), 3.0);
  EXPECT_GT(spin(roll.first - 1), 10.0);  // close to a roll's 12.9 degrees per frame
  EXPECT_GT(spin(roll.last), 10.0);
  EXPECT_LT(std::abs(spin(rollerClip.stopWalkFrame - 1)), 3.0);
}

/// The Jumper's speed while walking, seconds after the cycle started (base speed 3).
double jumperSpeed(double t) {
  return std::max(0.0, std::sin(t * 3.0 * 1.100000023841858 + 2.8274333133) * 3.0);
}

TEST(JumperTest, HopsThroughTheGamesBurstOfSpeed) {
  const CharacterClip clip(jumperModelPath, jumperClip.frameCount);
  const float rest = clip.nodeOrigin("Hips", clip.ticksAt(0)).z;
  const FrameRange hop = jumperClip.walkFrames;
  const double segment = (hop.last - hop.first) / 24.0;
  for (double t = 0.3; t < segment; t += 0.02) {
    const float height = clip.nodeOrigin("Hips", clip.ticksAt(hop.first, t)).z - rest;
    const bool nearAnEdge = (jumperSpeed(t - 0.08) > 0.0) != (jumperSpeed(t + 0.08) > 0.0);
    if (nearAnEdge) continue;
    if (jumperSpeed(t) > 0.0) {
      EXPECT_GT(height, 0.2f) << "still on the ground at " << t << " s";
    } else {
      EXPECT_LT(height, 0.05f) << "in the air at " << t << " s";
    }
  }
  EXPECT_GT(clip.nodeOrigin("Hips", clip.ticksAt(hop.first, 1.52)).z - rest, 1.2f);
}

/// The enemies' models follow the two bats: the Walker, the boss, the Roller, the Jumper.
const auto enemyModels = testing::ValuesIn(characterModels().begin() + 2, characterModels().end());

std::string enemyLabel(const testing::TestParamInfo<CharacterModel>& info) {
  static const std::array<const char*, 4> names = {"Walker", "Boss", "Roller", "Jumper"};
  return names.at(info.index);
}

class HitTest : public testing::TestWithParam<CharacterModel> {};

TEST_P(HitTest, BodyTumblesHeadOverHeelsAboutItsCentre) {
  const CharacterModel& model = GetParam();
  const FrameRange hit = segmentFrames(model, "hit");
  const CharacterClip clip(model.path, model.frameCount);
  const glm::mat4 rest = clip.restMatrix(model.rootBone);
  const glm::vec4 centre = glm::inverse(rest) * glm::vec4(0.0f, 0.0f, bodyCentreHeight, 1.0f);
  float lowestUp = 1.0f;
  for (unsigned frame = hit.first; frame <= hit.last; ++frame) {
    const glm::mat4 root = clip.nodeMatrix(model.rootBone, clip.ticksAt(frame));
    EXPECT_LT(glm::length(glm::vec3(root * centre)), 0.05f) << "centre off the origin at " << frame;
    lowestUp = std::min(lowestUp, root[2].z);
  }
  EXPECT_LT(lowestUp, -0.9f) << "never upside down";
}

INSTANTIATE_TEST_SUITE_P(AllEnemies, HitTest, enemyModels, enemyLabel);

class EnemyShapeTest : public testing::TestWithParam<CharacterModel> {};

TEST_P(EnemyShapeTest, StandsOnTheOriginAboutFourPointFourTallFacingMinusY) {
  const CharacterClip clip(GetParam().path, GetParam().frameCount);
  const aiMesh& mesh = *clip.scene().mMeshes[0];
  glm::vec3 low(1e9f), high(-1e9f);
  for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
    const glm::vec3 p(mesh.mVertices[v].x, mesh.mVertices[v].y, mesh.mVertices[v].z);
    low = glm::min(low, p);
    high = glm::max(high, p);
  }
  EXPECT_NEAR(low.z, 0.0f, 0.05f);
  EXPECT_GT(high.z, 4.2f);
  EXPECT_LT(high.z, 5.0f);
  // Eyes and mouth put the head's weight in front of its joint.
  const std::vector<glm::vec3> head = clip.verticesOf("Head");
  glm::vec3 centre(0.0f);
  for (const glm::vec3& p : head) centre += p / static_cast<float>(head.size());
  EXPECT_LT(centre.y, clip.restMatrix("Head")[3].y - 0.1f) << "the face is not towards -y";
}

INSTANTIATE_TEST_SUITE_P(AllEnemies, EnemyShapeTest, enemyModels, enemyLabel);

}  // namespace
}  // namespace Vexa::test
