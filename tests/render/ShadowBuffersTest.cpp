#include <cmath>
#include <vector>

#include "render/LevelPrograms.h"
#include "render/ShadowBuffers.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

/// Targets much smaller than the game's: every pass works alike at any size,
/// and Mesa's software renderer pays for every texel.
class ShadowBuffersTest : public GlTest {
 protected:
  static constexpr GLsizei size = 256;

  void SetUp() override {
    GlTest::SetUp();
    programs = std::make_unique<LevelPrograms>();
    buffers =
        std::make_unique<ShadowBuffers>(programs->blurHorizontal, programs->blurVertical, size);
  }
  void TearDown() override {
    buffers.reset();
    programs.reset();
    GlTest::TearDown();
  }

  static GLint levelParameter(GLuint texture, GLint level, GLenum parameter) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, parameter, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
  }

  /// The red channel (the first moment) of one mip level of a moments texture.
  static std::vector<float> firstMoments(GLuint texture, GLint level) {
    const GLint width = levelParameter(texture, level, GL_TEXTURE_WIDTH);
    const GLint height = levelParameter(texture, level, GL_TEXTURE_HEIGHT);
    std::vector<float> red(static_cast<size_t>(width * height));
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RED, GL_FLOAT, red.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return red;
  }

  std::unique_ptr<LevelPrograms> programs;
  std::unique_ptr<ShadowBuffers> buffers;
};

TEST_F(ShadowBuffersTest, TargetsAreFloatMomentsOfTheGivenSize) {
  for (GLuint texture : {buffers->shadowMap(), buffers->blurMap()}) {
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_WIDTH), size);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_HEIGHT), size);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB32F);
  }
  GLint viewport[4] = {};
  buffers->beginShadowPass();
  glGetIntegerv(GL_VIEWPORT, viewport);
  buffers->endShadowPass();
  EXPECT_EQ(viewport[2], size);
  EXPECT_EQ(viewport[3], size);
}

TEST_F(ShadowBuffersTest, TheGameKeepsItsTwoThousandTexelTargets) {
  const ShadowBuffers game(programs->blurHorizontal, programs->blurVertical,
                           ShadowBuffers::gameSize);
  EXPECT_EQ(levelParameter(game.shadowMap(), 0, GL_TEXTURE_WIDTH), 2048);
  EXPECT_EQ(levelParameter(game.blurMap(), 0, GL_TEXTURE_HEIGHT), 2048);
}

TEST_F(ShadowBuffersTest, ShadowPassClearsToMomentsThatShadowNothing) {
  buffers->beginShadowPass();
  buffers->endShadowPass();
  const std::vector<float> moments = firstMoments(buffers->shadowMap(), 0);
  EXPECT_GE(moments[0], 1000.0f);
  EXPECT_EQ(moments[0], moments[size * size / 2 + size / 3]);
  EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
}

TEST_F(ShadowBuffersTest, BlurSpreadsAColumnAlongBothAxesAndRefreshesTheMipmaps) {
  const size_t side = size;
  const size_t middle = side / 2;
  std::vector<float> column(side * side * 3u, 0.0f);
  for (size_t row = 0; row < side; ++row) column[(row * side + middle) * 3] = 1.0f;
  glBindTexture(GL_TEXTURE_2D, buffers->shadowMap());
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, size, size, GL_RGB, GL_FLOAT, column.data());
  glBindTexture(GL_TEXTURE_2D, 0);

  buffers->blur(programs->blurHorizontal, programs->blurVertical);

  const std::vector<float> blurred = firstMoments(buffers->shadowMap(), 0);
  const size_t middleRow = side * (middle - 5);
  EXPECT_NEAR(blurred[middleRow + middle], 0.2270270f, 1e-4f);
  EXPECT_NEAR(blurred[middleRow + middle + 1], 0.1945946f, 1e-4f);
  EXPECT_NEAR(blurred[middleRow + middle - 4], 0.0162162f, 1e-4f);
  EXPECT_EQ(blurred[middleRow + middle - 5], 0.0f);
  EXPECT_NEAR(blurred[middle], blurred[middleRow + middle], 1e-4f) << "rows stay alike";

  const GLint smallestLevel = static_cast<GLint>(std::log2(size));
  const std::vector<float> smallest = firstMoments(buffers->shadowMap(), smallestLevel);
  ASSERT_EQ(smallest.size(), 1u);
  EXPECT_NEAR(smallest[0], 1.0f / size, 1e-5f);
}

}  // namespace
}  // namespace Vexa::test
