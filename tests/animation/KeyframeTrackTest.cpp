#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "animation/KeyframeTrack.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

using Key = KeyframeTrack::Key;

const glm::quat turnedQuarter = glm::angleAxis(glm::radians(90.0f), glm::vec3(0, 0, 1));

// Two keys 1000 ticks apart, moving from the origin to (10, 0, 0) and turning a quarter.
KeyframeTrack twoKeys(double first = 1000.0) {
  return KeyframeTrack({{first, {0, 0, 0}, glm::quat(1, 0, 0, 0), {1, 1, 1}},
                        {first + 1000.0, {10, 0, 0}, turnedQuarter, {1, 1, 1}}});
}

void expectMatrixNear(const glm::mat4& actual, const glm::mat4& expected) {
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) EXPECT_NEAR(actual[c][r], expected[c][r], 1e-5) << c << r;
  }
}

TEST(KeyframeTrackTest, InterpolatesPositionAndRotationWithinTheInterval) {
  const KeyframeTrack track = twoKeys();
  const glm::quat half = glm::angleAxis(glm::radians(45.0f), glm::vec3(0, 0, 1));
  expectMatrixNear(track.localAt(1500.0),
                   glm::translate(glm::mat4(1.0f), {5, 0, 0}) * glm::mat4_cast(half));
  // A time equal to a key's time starts that key's interval with factor 0.
  expectMatrixNear(track.localAt(1000.0), glm::mat4(1.0f));
}

TEST(KeyframeTrackTest, HoldsTheFirstPoseBeforeTheFirstKeyAndTheLastFromTheLastKeyOn) {
  const KeyframeTrack track = twoKeys();
  expectMatrixNear(track.localAt(0.0), glm::mat4(1.0f));
  expectMatrixNear(track.localAt(-5.0), glm::mat4(1.0f));
  const glm::mat4 last =
      glm::translate(glm::mat4(1.0f), {10, 0, 0}) * glm::mat4_cast(turnedQuarter);
  expectMatrixNear(track.localAt(2000.0), last);
  expectMatrixNear(track.localAt(1e9), last);
}

TEST(KeyframeTrackTest, EachTrackKeepsItsOwnKeyCount) {
  const KeyframeTrack single({{40.0, {1, 2, 3}, glm::quat(1, 0, 0, 0), {1, 1, 1}}});
  EXPECT_EQ(single.keyCount(), 1u);
  expectMatrixNear(single.localAt(0.0), glm::translate(glm::mat4(1.0f), {1, 2, 3}));
  expectMatrixNear(single.localAt(500.0), glm::translate(glm::mat4(1.0f), {1, 2, 3}));
}

TEST(KeyframeTrackTest, ScaleKeysAreKeptButNeverApplied) {
  const KeyframeTrack track({{0.0, {0, 0, 0}, glm::quat(1, 0, 0, 0), {3, 3, 3}},
                             {10.0, {0, 0, 0}, glm::quat(1, 0, 0, 0), {3, 3, 3}}});
  EXPECT_EQ(track.key(1).scale, glm::vec3(3, 3, 3));
  expectMatrixNear(track.localAt(5.0), glm::mat4(1.0f));
}

TEST(KeyframeTrackTest, SlerpTakesTheShorterArcAndBlendsNearlyEqualKeys) {
  const glm::quat a(1, 0, 0, 0);
  // -a is the same rotation: negating the second key makes every blend of them a itself.
  const glm::quat opposite(-1, 0, 0, 0);
  const glm::quat blended = KeyframeTrack::slerp(a, opposite, 0.5f);
  EXPECT_NEAR(blended.w, 1.0f, 1e-6);
  EXPECT_NEAR(glm::length(glm::vec3(blended.x, blended.y, blended.z)), 0.0f, 1e-6);

  // Past 0.99999988 the components are blended as they are, without normalising.
  const glm::quat b = glm::normalize(glm::quat(1, 0.0001f, 0, 0));
  ASSERT_GT(glm::dot(a, b), 0.99999988f);
  const glm::quat plain = KeyframeTrack::slerp(a, b, 0.25f);
  EXPECT_FLOAT_EQ(plain.w, a.w + 0.25f * (b.w - a.w));
  EXPECT_FLOAT_EQ(plain.x, 0.25f * b.x);

  // A wide arc follows the sphere, a quarter of the way by a quarter of the angle.
  const glm::quat wide = KeyframeTrack::slerp(a, turnedQuarter, 0.25f);
  const glm::quat expected = glm::angleAxis(glm::radians(22.5f), glm::vec3(0, 0, 1));
  EXPECT_NEAR(wide.w, expected.w, 1e-6);
  EXPECT_NEAR(wide.z, expected.z, 1e-6);
}

TEST(KeyframeTrackTest, APoseIsTheTranslationTimesTheUnnormalisedRotation) {
  const glm::quat q(2, 0, 0, 0);  // length 2: columns follow the formula, not a unit rotation
  const glm::mat4 pose = KeyframeTrack::pose({1, 2, 3}, q);
  EXPECT_EQ(pose[3], glm::vec4(1, 2, 3, 1));
  EXPECT_EQ(pose[0], glm::vec4(1, 0, 0, 0)) << "1 - 2y² - 2z² ignores w";
}

}  // namespace
}  // namespace Vexa::test
