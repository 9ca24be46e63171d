#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "render/Lighting.h"
#include "scene/Level.h"
#include "scene/SceneContainer.h"

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
  // The corners of the light's view volume land on the corners of the unit cube.
  const glm::dmat4 volumeCorners = glm::inverse(glm::dmat4(projection * view));
  for (const glm::vec4& unitCorner : box(glm::vec3(0.0f), glm::vec3(1.0f))) {
    const glm::vec4 clipCorner(glm::vec3(unitCorner) * 2.0f - 1.0f, 1.0f);
    const glm::vec4 corner(volumeCorners * glm::dvec4(clipCorner));
    const glm::vec4 mapped = toTexture * (corner / corner.w);
    expectNear(mapped / mapped.w, unitCorner, 1e-3f);
  }
}

}  // namespace
}  // namespace Vexa::test
