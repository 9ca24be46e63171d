#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "render/Lighting.h"
#include "scene/Level.h"
#include "scene/SceneContainer.h"
#include "scene/mesh/LevelText.h"
#include "scene/mesh/Terrain.h"

namespace Vexa::test {
namespace {

using scene::SceneContainer;

void expectNear(const glm::vec4& actual, const glm::vec4& expected, float tolerance = 1e-4f) {
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
}

std::array<glm::vec4, 8> box(const glm::vec3& low, const glm::vec3& high) {
  std::array<glm::vec4, 8> corners;
  for (int i = 0; i < 8; ++i) {
    corners[static_cast<std::size_t>(i)] =
        glm::vec4(i & 1 ? high.x : low.x, i & 2 ? high.y : low.y, i & 4 ? high.z : low.z, 1.0f);
  }
  return corners;
}

TEST(FrustumTest, OnlyABoxWhollyBeyondOnePlaneIsOutside) {
  const glm::mat4 camera = Level::projection(1024.0f, 768.0f);  // looking down -z from the origin
  EXPECT_FALSE(SceneContainer::outsideFrustum(camera, box({-1, -1, -12}, {1, 1, -10})));
  EXPECT_TRUE(SceneContainer::outsideFrustum(camera, box({-1, -1, 10}, {1, 1, 12})))
      << "behind the eye";
  EXPECT_TRUE(SceneContainer::outsideFrustum(camera, box({-1, -1, -1600}, {1, 1, -1550})))
      << "past the far plane";
  EXPECT_TRUE(SceneContainer::outsideFrustum(camera, box({100, -1, -11}, {102, 1, -10})))
      << "far to the right";
  // Wider than the view on both sides, with no plane that all eight corners pass.
  EXPECT_FALSE(SceneContainer::outsideFrustum(camera, box({-500, -1, -11}, {500, 1, -10})));
  // The corners are moved by the whole product, the object's placement included.
  const glm::mat4 placed = camera * glm::translate(glm::mat4(1.0f), {0, 0, 40});
  EXPECT_TRUE(SceneContainer::outsideFrustum(placed, box({-1, -1, -12}, {1, 1, -10})));
}

TEST(LightingTest, TheSunsColourReachesTheShadersAtUnitLength) {
  const glm::vec3 sun = Lighting::diffuseUniform({1.0f, 0.96f, 0.696f});
  EXPECT_NEAR(sun.x, 0.6447f, 1e-4f);
  EXPECT_NEAR(sun.y, 0.6189f, 1e-4f);
  EXPECT_NEAR(sun.z, 0.4487f, 1e-4f);
  EXPECT_EQ(Lighting::diffuseUniform({2.0f, 0.0f, 0.0f}), glm::vec3(1.0f, 0.0f, 0.0f));
}

TEST(LightingTest, TheShadowTextureMatrixMapsTheLightsViewIntoTheUnitCube) {
  const glm::mat4 projection = Level::projection(1024.0f, 768.0f);
  const glm::mat4 toTexture = Lighting::shadowTextureMatrix(projection);
  // The light looks at its target: the target lands in the middle of the map.
  const glm::vec4 target = toTexture * glm::vec4(Lighting::target, 1.0f);
  EXPECT_NEAR(target.x / target.w, 0.5f, 1e-5f);
  EXPECT_NEAR(target.y / target.w, 0.5f, 1e-5f);
  EXPECT_GT(target.z / target.w, 0.5f);
  EXPECT_LT(target.z / target.w, 1.0f);
  // The light view proper: its eye at the origin, looking down -z.
  const glm::mat4 view = Lighting::lightView();
  expectNear(view * glm::vec4(Lighting::position, 1.0f), {0, 0, 0, 1});
  const float distance = glm::length(Lighting::target - Lighting::position);
  expectNear(view * glm::vec4(Lighting::target, 1.0f), {0, 0, -distance, 1}, 1e-3f);
  // Bias × projection × view, in that order: the bias moves clip space -1..1 to 0..1.
  const glm::mat4 bias = glm::translate(glm::mat4(1.0f), glm::vec3(0.5f)) *
                         glm::scale(glm::mat4(1.0f), glm::vec3(0.5f));
  expectNear(toTexture[3], (bias * projection * view)[3]);
}

TEST(PlacementTest, TheTitleStandsFarAheadTurnedAQuarterAndFortyTimesItsSize) {
  const glm::mat4 title = scene::mesh::LevelText::placement(glm::mat4(1.0f));
  expectNear(title[0], {0, 40, 0, 0});
  expectNear(title[1], {-40, 0, 0, 0});
  expectNear(title[2], {0, 0, 40, 0});
  expectNear(title[3], {-200, 80, 30, 1});
  // The offset is in the file's own axes: a turned file turns it too.
  const glm::mat4 upright = glm::rotate(glm::mat4(1.0f), glm::radians(-90.0f), {1, 0, 0});
  expectNear(scene::mesh::LevelText::placement(upright)[3], upright * glm::vec4(-200, 80, 30, 1));
}

TEST(PlacementTest, TheTerrainAndSkyLieSixHundredDownAndAThousandTimesLarger) {
  const glm::mat4 far = scene::mesh::Terrain::farPlacement(glm::mat4(1.0f));
  expectNear(far * glm::vec4(1, 0, 0, 1), {1000, 0, -600, 1});
  expectNear(far * glm::vec4(0, 0, 0, 1), {0, 0, -600, 1});  // the shift is not scaled
}

TEST(PlacementTest, TheEyeSeesSixtyDegreesUpToAFarPlaneAt1500) {
  const glm::mat4 projection = Level::projection(1024.0f, 768.0f);
  EXPECT_NEAR(projection[2][2], -1.0001333f, 1e-6f);
  EXPECT_NEAR(projection[3][2], -0.20001333f, 1e-6f);
  EXPECT_NEAR(projection[1][1], 1.0f / std::tan(glm::radians(30.0f)), 1e-5f);
  EXPECT_NEAR(projection[0][0], projection[1][1] * 768.0f / 1024.0f, 1e-5f);
}

}  // namespace
}  // namespace Vexa::test
