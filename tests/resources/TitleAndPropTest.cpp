// Level titles and props as the game places them: where they end up in the
// world or on the screen, which way they face, how big they are.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ImportedModel.h"
#include "physic/CharacterBody.h"
#include "scene/Level.h"
#include "scene/LevelFiles.h"
#include "scene/mesh/Hud.h"
#include "scene/mesh/LevelText.h"
#include "scene/mesh/Terrain.h"

namespace Vexa::test {
namespace {

using scene::mesh::LevelText;
using scene::mesh::Terrain;

const glm::vec3 spawnEye = playerStartPosition + glm::vec3(0.0f, eyeHeight, 0.0f);
/// The view from the spawn along the start direction (about -z), through the game's lens
/// on a window of the game's size.
const glm::mat4 startView =
    Level::projection(1024.0f, 768.0f) *
    glm::lookAt(spawnEye, spawnEye - glm::vec3(0.0f, 0.0f, 1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
constexpr float glyphRows = 7.0f;

/// Whether the point shows in the start view, between its near and far planes.
bool inStartView(const glm::vec3& point) {
  const glm::vec4 clip = startView * glm::vec4(point, 1.0f);
  return std::abs(clip.x) < clip.w && std::abs(clip.y) < clip.w && std::abs(clip.z) < clip.w;
}

TriangleSet everything(const ImportedModel& model) {
  return model.subtreeMeshes(*model.root());
}

class LevelTitle : public testing::TestWithParam<int> {
 protected:
  ImportedModel model{levelTitlePath(GetParam()), LevelText::placement};
  TriangleSet letters = everything(model);
  glm::vec3 low = letters.minimum(), high = letters.maximum();
};

TEST_P(LevelTitle, StandsAheadOfTheSpawnInsideTheStartView) {
  ASSERT_FALSE(letters.empty());
  for (const float x : {low.x, high.x})
    for (const float y : {low.y, high.y})
      for (const float z : {low.z, high.z}) {
        ASSERT_LT(z - spawnEye.z, -20.0f) << "behind or beside the player";
        EXPECT_TRUE(inStartView({x, y, z})) << x << ", " << y << ", " << z;
      }
  EXPECT_GT(low.y, 20.0f) << "clear of the first platforms";
}

TEST_P(LevelTitle, ReadsLeftToRightFacingThePlayer) {
  const glm::vec3 size = high - low;
  EXPECT_GT(size.x, size.y) << "a line of text runs across the view";
  EXPECT_GT(size.y, size.z) << "a thin sign seen from the front";
  float frontNormalZ = 1.0f, firstColumnLow = high.y, firstColumnHigh = low.y;
  const float cell = size.y / glyphRows;
  for (const auto& triangle : letters.all()) {
    const bool onFront = std::all_of(triangle.begin(), triangle.end(), [&](const auto& corner) {
      return corner.position.z > high.z - 0.01f;
    });
    for (const auto& corner : triangle) {
      if (onFront) frontNormalZ = std::min(frontNormalZ, corner.normal.z);
      if (corner.position.x < low.x + cell * 0.5f) {
        firstColumnLow = std::min(firstColumnLow, corner.position.y);
        firstColumnHigh = std::max(firstColumnHigh, corner.position.y);
      }
    }
  }
  EXPECT_GT(frontNormalZ, 0.99f) << "the front faces the spawn (+z)";
  // "LEVEL" starts with the full-height stem of the L; mirrored text would
  // start with the digit's foot.
  EXPECT_NEAR(firstColumnHigh - firstColumnLow, size.y, 0.01f);
}

INSTANTIATE_TEST_SUITE_P(Titles, LevelTitle, testing::Range(1, playableLevelCount + 1));

TEST(Props, RubyIsAnUprightGemAboutOneAndAHalfUnitsTall) {
  ImportedModel model("Resources/Models/ruby.dae");
  const TriangleSet gem = everything(model);
  ASSERT_FALSE(gem.empty());
  const glm::vec3 size = gem.maximum() - gem.minimum();
  EXPECT_NEAR(size.y, 1.5f, 0.1f);
  EXPECT_LT(size.x, 2.0f);
  EXPECT_LT(size.z, 2.0f);
}

TEST(Props, TerrainIsAVastGroundFarBelow) {
  ImportedModel model("Resources/Models/terrain.dae", Terrain::farPlacement);
  const TriangleSet ground = everything(model);
  ASSERT_FALSE(ground.empty());
  EXPECT_LT(ground.maximum().y, -550.0f);
  EXPECT_GT(ground.minimum().y, -650.0f);
  EXPECT_GE(ground.maximum().x - ground.minimum().x, 1900.0f);
  EXPECT_GE(ground.maximum().z - ground.minimum().z, 1900.0f);
}

TEST(Props, HemisphereIsADomeAroundTheViewerFacingInwards) {
  ImportedModel model("Resources/Models/hemisphere.dae", Terrain::farPlacement);
  const TriangleSet dome = everything(model);
  ASSERT_FALSE(dome.empty());
  const glm::vec3 centre(0.0f, -600.0f, 0.0f);
  EXPECT_NEAR(dome.maximum().y, 400.0f, 1.0f) << "the zenith 400 above the player";
  EXPECT_GT(dome.minimum().y, -600.5f) << "open below the rim";
  for (const auto& triangle : dome.all())
    for (const auto& corner : triangle) {
      ASSERT_NEAR(glm::length(corner.position - centre), 1000.0f, 1.0f);
      ASSERT_GT(glm::dot(corner.normal, centre - corner.position), 0.0f);
      const glm::vec4 clip = startView * glm::vec4(corner.position, 1.0f);
      ASSERT_LT(clip.z, clip.w) << "the far plane cuts the sky";
    }
}

TEST(Props, CrosshairShowsAtTheWindowCentre) {
  const glm::mat4 hud = glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(512.0f, 384.0f, 0.0f)),
                                   glm::vec3(scene::mesh::Hud::crosshairScale));
  ImportedModel model("Resources/Models/crosshair.dae", [&hud](const glm::mat4&) { return hud; });
  const TriangleSet cross = everything(model);
  ASSERT_FALSE(cross.empty());
  const glm::vec3 low = cross.minimum(), high = cross.maximum();
  EXPECT_NEAR((low.x + high.x) * 0.5f, 512.0f, 0.5f);
  EXPECT_NEAR((low.y + high.y) * 0.5f, 384.0f, 0.5f);
  EXPECT_NEAR(low.z, 0.0f, 1e-4f) << "flat in the hud's depth range";
  EXPECT_NEAR(high.z, 0.0f, 1e-4f);
  EXPECT_GT(high.x - low.x, 20.0f);
  EXPECT_LT(high.x - low.x, 80.0f);
}

}  // namespace
}  // namespace Vexa::test
