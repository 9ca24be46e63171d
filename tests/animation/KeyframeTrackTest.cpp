#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "animation/KeyframeTrack.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

using Key = KeyframeTrack::Key;

const glm::quat turnedQuarter = glm::angleAxis(glm::radians(90.0f), glm::vec3(0, 0, 1));

// Two keys 1000 ticks apart, moving from the origin to (10, 0, 0) and turning a quarter.
const std::vector<Key> twoKeys = {{1000.0, {0, 0, 0}, glm::quat(1, 0, 0, 0), {1, 1, 1}},
                                  {2000.0, {10, 0, 0}, turnedQuarter, {1, 1, 1}}};

// The pose at `ticks` as a first look at the track finds it.
glm::mat4 freshPose(const KeyframeTrack& track, double ticks) {
  std::size_t cursor = 0;
  return track.localAt(ticks, cursor);
}

void expectMatrixNear(const glm::mat4& actual, const glm::mat4& expected) {
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) EXPECT_NEAR(actual[c][r], expected[c][r], 1e-5) << c << r;
  }
}

TEST(KeyframeTrackTest, InterpolatesPositionAndRotationWithinTheInterval) {
  const KeyframeTrack track(twoKeys);
  const glm::quat half = glm::angleAxis(glm::radians(45.0f), glm::vec3(0, 0, 1));
  expectMatrixNear(freshPose(track, 1500.0),
                   glm::translate(glm::mat4(1.0f), {5, 0, 0}) * glm::mat4_cast(half));
  // A time equal to a key's time starts that key's interval with factor 0.
  expectMatrixNear(freshPose(track, 1000.0), glm::mat4(1.0f));
}

TEST(KeyframeTrackTest, HoldsTheFirstPoseBeforeTheFirstKeyAndTheLastFromTheLastKeyOn) {
  const KeyframeTrack track(twoKeys);
  expectMatrixNear(freshPose(track, 0.0), glm::mat4(1.0f));
  expectMatrixNear(freshPose(track, -5.0), glm::mat4(1.0f));
  const glm::mat4 last =
      glm::translate(glm::mat4(1.0f), {10, 0, 0}) * glm::mat4_cast(turnedQuarter);
  expectMatrixNear(freshPose(track, 2000.0), last);
  expectMatrixNear(freshPose(track, 1e9), last);
}

TEST(KeyframeTrackTest, EachTrackKeepsItsOwnKeyCount) {
  const std::vector<Key> oneKey = {{40.0, {1, 2, 3}, glm::quat(1, 0, 0, 0), {1, 1, 1}}};
  const KeyframeTrack single(oneKey);
  EXPECT_EQ(single.keyCount(), 1u);
  expectMatrixNear(freshPose(single, 0.0), glm::translate(glm::mat4(1.0f), {1, 2, 3}));
  expectMatrixNear(freshPose(single, 500.0), glm::translate(glm::mat4(1.0f), {1, 2, 3}));
}

TEST(KeyframeTrackTest, ScaleKeysAreKeptButNeverApplied) {
  const std::vector<Key> scaled = {{0.0, {0, 0, 0}, glm::quat(1, 0, 0, 0), {3, 3, 3}},
                                   {10.0, {0, 0, 0}, glm::quat(1, 0, 0, 0), {3, 3, 3}}};
  const KeyframeTrack track(scaled);
  EXPECT_EQ(track.key(1).scale, glm::vec3(3, 3, 3));
  expectMatrixNear(freshPose(track, 5.0), glm::mat4(1.0f));
}

// The interval a search from the first key finds: the last key at or before the time.
std::size_t searchedFromTheStart(const std::vector<Key>& keys, double ticks) {
  std::size_t i = 0;
  while (i + 1 < keys.size() && !(keys[i + 1].time > ticks)) ++i;
  return i;
}

// A clip's keys as the enemies' are: uneven steps, the first key after time 0.
std::vector<Key> unevenKeys() {
  std::vector<Key> keys;
  double time = 3.0;
  for (int k = 0; k < 40; ++k, time += 1.0 + (k * 7) % 5) keys.push_back({time, {}, {}, {}});
  return keys;
}

TEST(KeyframeTrackTest, AResumedSearchFindsTheIntervalASearchFromTheStartFinds) {
  const std::vector<Key> keys = unevenKeys();
  const KeyframeTrack track(keys);
  const double last = keys.back().time;
  std::size_t cursor = 0;
  // Frame by frame through the clip, past its end, over again from before its
  // first key (a segment that wraps round to the clip's start), then in jumps
  // both ways and onto key times exactly.
  std::vector<double> times;
  for (double t = 0.0; t < last + 5.0; t += 0.37) times.push_back(t);
  for (double t = 0.0; t < 30.0; t += 0.37) times.push_back(t);
  for (const double t : {last - 1.0, 10.0, keys[17].time, keys[16].time, keys[18].time, last, 3.0,
                         -1.0, 1e9, keys[1].time})
    times.push_back(t);
  for (const double t : times) {
    ASSERT_EQ(track.intervalAt(t, cursor), searchedFromTheStart(keys, t)) << "at " << t;
    ASSERT_EQ(cursor, searchedFromTheStart(keys, t)) << "at " << t;
  }
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
