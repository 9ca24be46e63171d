#include <vector>

#include "render/LevelPrograms.h"
#include "render/ShadowBuffers.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

class ShadowBuffersTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    programs = std::make_unique<LevelPrograms>();
    buffers = std::make_unique<ShadowBuffers>(programs->blurHorizontal, programs->blurVertical);
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

TEST_F(ShadowBuffersTest, TargetsAreFloatMomentsOfFixedSize) {
  for (GLuint texture : {buffers->shadowMap(), buffers->blurMap()}) {
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_WIDTH), 2048);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_HEIGHT), 2048);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB32F);
  }
}

TEST_F(ShadowBuffersTest, ShadowPassClearsToMomentsThatShadowNothing) {
  buffers->beginShadowPass();
  buffers->endShadowPass();
  const std::vector<float> moments = firstMoments(buffers->shadowMap(), 0);
  EXPECT_GE(moments[0], 1000.0f);
  EXPECT_EQ(moments[0], moments[2048 * 1024 + 777]);
  EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
}

TEST_F(ShadowBuffersTest, BlurSpreadsAColumnAlongBothAxesAndRefreshesTheMipmaps) {
  std::vector<float> column(2048u * 2048u * 3u, 0.0f);
  for (size_t row = 0; row < 2048; ++row) column[(row * 2048 + 1024) * 3] = 1.0f;
  glBindTexture(GL_TEXTURE_2D, buffers->shadowMap());
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 2048, 2048, GL_RGB, GL_FLOAT, column.data());
  glBindTexture(GL_TEXTURE_2D, 0);

  buffers->blur(programs->blurHorizontal, programs->blurVertical);

  const std::vector<float> blurred = firstMoments(buffers->shadowMap(), 0);
  const size_t middleRow = 2048u * 1000u;
  EXPECT_NEAR(blurred[middleRow + 1024], 0.2270270f, 1e-4f);
  EXPECT_NEAR(blurred[middleRow + 1025], 0.1945946f, 1e-4f);
  EXPECT_NEAR(blurred[middleRow + 1020], 0.0162162f, 1e-4f);
  EXPECT_EQ(blurred[middleRow + 1019], 0.0f);
  EXPECT_NEAR(blurred[1024], blurred[middleRow + 1024], 1e-4f) << "rows stay alike";

  const std::vector<float> smallest = firstMoments(buffers->shadowMap(), 11);
  ASSERT_EQ(smallest.size(), 1u);
  EXPECT_NEAR(smallest[0], 1.0f / 2048.0f, 1e-5f);
}

}  // namespace
}  // namespace Vexa::test
