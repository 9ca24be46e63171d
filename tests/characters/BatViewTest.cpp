// The first-person bat through the game's own model loading, animation and bat shader,
// placed by the bat's local matrix and seen through the player's projection.

#include <gtest/gtest.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <memory>

#include "OffscreenTarget.h"
#include "ViewLighting.h"
#include "animation/Animation.h"
#include "render/ShaderProgram.h"
#include "scene/Level.h"
#include "scene/MeshObject.h"
#include "scene/mesh/CharacterModels.h"
#include "support/GlTest.h"
#include "support/ManualTime.h"

namespace Vexa::test {
namespace {

using scene::MeshObject;
using namespace scene::mesh;

constexpr int width = 256;
constexpr int height = 192;  // the window's 4:3

class BatViewTest : public GlTest, public testing::WithParamInterface<std::string> {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    program = std::make_unique<ShaderProgram>("Shader/bat_shader.vert", "Shader/bat_shader.frag");
    bat = std::make_unique<MeshObject>(program.get(), program.get());
    bat->loadModel(GetParam());
    bat->localMatrix = batLocalMatrix();
    target = std::make_unique<viewer::OffscreenTarget>(width, height);
  }

  void TearDown() override {
    target.reset();
    bat.reset();
    program.reset();
    GlTest::TearDown();
  }

  /// The view `seconds` after the segment first-last of the bat's clip started.
  void renderSegment(unsigned first, unsigned last, double seconds) {
    bat->animation()->play(first, last, batClip.frameCount);
    clock.advance(seconds);
    bat->updateWithoutCamera(0.0, glm::mat4(1.0f));
    target->begin(0.0f);
    setUniforms();
    bat->draw();
    pixels = target->pixels();
  }

  void setUniforms() const {
    viewer::ViewLighting lighting;
    lighting.projection = Level::projection(width, height);
    lighting.light = {10.0f, 20.0f, 10.0f};
    lighting.diffuse = glm::vec3(1.0f);
    lighting.specular = glm::vec3(0.5f);
    lighting.specularExponent = 8.0f;
    lighting.load(program->programId());
    glUniform1i(glGetUniformLocation(program->programId(), "useTexture"), 1);
  }

  /// Bat pixels in the box [x0, x1) x [y0, y1), y counted from the bottom.
  int batPixels(int x0, int y0, int x1, int y1) const {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        const std::size_t i = static_cast<std::size_t>((y * width + x) * 4);
        count += pixels[i] + pixels[i + 1] + pixels[i + 2] > 0 ? 1 : 0;
      }
    }
    return count;
  }

  int aroundCrosshair() const {
    return batPixels(width / 2 - 3, height / 2 - 3, width / 2 + 4, height / 2 + 4);
  }

  ManualClock clock;
  std::unique_ptr<ShaderProgram> program;
  std::unique_ptr<MeshObject> bat;
  std::unique_ptr<viewer::OffscreenTarget> target;
  std::vector<unsigned char> pixels;
};

TEST_P(BatViewTest, AtRestItStandsInTheLowerRightAndLeavesTheCrosshairFree) {
  renderSegment(batClip.idleFirst, batClip.idleLast, 0.0);
  EXPECT_EQ(aroundCrosshair(), 0);
  EXPECT_GT(batPixels(width / 2, 0, width, height / 2), 200);
  EXPECT_EQ(batPixels(0, 0, width / 2, height), 0);
}

TEST_P(BatViewTest, TheSwingCoversTheCrosshairInTheHitWindowOnly) {
  const unsigned first = batClip.swingFirst, last = batClip.swingLast;
  renderSegment(first, last, 0.32);
  EXPECT_GT(aroundCrosshair(), 0);
  renderSegment(first, last, 0.15);
  EXPECT_EQ(aroundCrosshair(), 0);
  renderSegment(first, last, 0.6);
  EXPECT_EQ(aroundCrosshair(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothBats, BatViewTest, testing::Values(batModelPath(0), batModelPath(1)),
                         [](const auto& info) { return info.index == 0 ? "Plain" : "Upgraded"; });

}  // namespace
}  // namespace Vexa::test
