#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <iterator>
#include <vector>

#include "render/LevelPrograms.h"
#include "render/Mesh.h"
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

  /// One channel of one mip level of a moments texture: GL_RED holds the first
  /// moment, GL_GREEN the second.
  static std::vector<float> moments(GLuint texture, GLint level, GLenum channel = GL_RED) {
    const GLint width = levelParameter(texture, level, GL_TEXTURE_WIDTH);
    const GLint height = levelParameter(texture, level, GL_TEXTURE_HEIGHT);
    std::vector<float> values(static_cast<size_t>(width * height));
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, level, channel, GL_FLOAT, values.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return values;
  }

  /// Fills the shadow map with zero moments but for column `x`, whose moments are (1, 2).
  void castColumn(size_t x) const {
    std::vector<float> rg(size * size * 2u, 0.0f);
    for (size_t row = 0; row < size; ++row) {
      rg[(row * size + x) * 2] = 1.0f;
      rg[(row * size + x) * 2 + 1] = 2.0f;
    }
    glBindTexture(GL_TEXTURE_2D, buffers->shadowMap());
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, size, size, GL_RG, GL_FLOAT, rg.data());
    glBindTexture(GL_TEXTURE_2D, 0);
  }

  /// Fills the shadow map with `background` moments but for the texels of each of
  /// `rects`, whose moments are (1, 2).
  void castRects(const std::vector<TexelBox>& rects, float background) const {
    std::vector<float> rg(size * size * 2u, background);
    for (const TexelBox& rect : rects)
      for (GLint y = rect.y0; y < rect.y1; ++y)
        for (GLint x = rect.x0; x < rect.x1; ++x) {
          rg[(static_cast<size_t>(y) * size + static_cast<size_t>(x)) * 2] = 1.0f;
          rg[(static_cast<size_t>(y) * size + static_cast<size_t>(x)) * 2 + 1] = 2.0f;
        }
    glBindTexture(GL_TEXTURE_2D, buffers->shadowMap());
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, size, size, GL_RG, GL_FLOAT, rg.data());
    glBindTexture(GL_TEXTURE_2D, 0);
  }

  /// Bounds of one caster for each of `rects`, covering exactly it, gathered in
  /// the map's own device coordinates.
  static CasterBounds boundsOf(const std::vector<TexelBox>& rects) {
    const auto ndc = [](GLint texel) { return 2.0f * static_cast<float>(texel) / size - 1.0f; };
    CasterBounds bounds;
    bounds.begin(glm::mat4(1.0f));
    for (const TexelBox& rect : rects) {
      BoundingBox box;
      box.add({ndc(rect.x0), ndc(rect.y0), 0.0f});
      box.add({ndc(rect.x1), ndc(rect.y1), 0.0f});
      bounds.add(box, glm::mat4(1.0f));
    }
    return bounds;
  }

  std::unique_ptr<LevelPrograms> programs;
  std::unique_ptr<ShadowBuffers> buffers;
  CasterBounds wholeMap;  // gathers nothing, so it covers every texel
};

TEST_F(ShadowBuffersTest, TargetsAreFloatMomentsOfTheGivenSize) {
  for (GLuint texture : {buffers->shadowMap(), buffers->blurMap()}) {
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_WIDTH), size);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_HEIGHT), size);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RG32F);
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
  const std::vector<float> first = moments(buffers->shadowMap(), 0);
  EXPECT_GE(first[0], 1000.0f);
  EXPECT_EQ(first[0], first[size * size / 2 + size / 3]);
  EXPECT_EQ(moments(buffers->shadowMap(), 0, GL_GREEN)[0], first[0] * first[0]);
  EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
}

TEST_F(ShadowBuffersTest, BlurSpreadsAColumnAlongBothAxesAndRefreshesTheMipmaps) {
  const size_t side = size;
  const size_t middle = side / 2;
  castColumn(middle);

  buffers->blur(programs->blurHorizontal, programs->blurVertical, wholeMap);

  const std::vector<float> blurred = moments(buffers->shadowMap(), 0);
  const size_t middleRow = side * (middle - 5);
  EXPECT_NEAR(blurred[middleRow + middle], 0.2270270f, 1e-4f);
  EXPECT_NEAR(blurred[middleRow + middle + 1], 0.1945946f, 1e-4f);
  EXPECT_NEAR(blurred[middleRow + middle - 4], 0.0162162f, 1e-4f);
  EXPECT_EQ(blurred[middleRow + middle - 5], 0.0f);
  EXPECT_NEAR(blurred[middle], blurred[middleRow + middle], 1e-4f) << "rows stay alike";

  const GLint smallestLevel = static_cast<GLint>(std::log2(size));
  const std::vector<float> smallest = moments(buffers->shadowMap(), smallestLevel);
  ASSERT_EQ(smallest.size(), 1u);
  EXPECT_NEAR(smallest[0], 1.0f / size, 1e-5f);
}

// Beyond the blur's reach of the casters the map holds one value all round, which
// the blur keeps; so blurring the casters' boxes alone must change no texel, even
// when the blur target still holds an earlier frame's different moments. Two of
// the casters lie within the blur's reach of each other, the third far off.
TEST_F(ShadowBuffersTest, BlurringTheCastersBoxesAloneGivesTheWholeMapsBlur) {
  const std::vector<TexelBox> casters{{100, 60, 110, 64}, {112, 66, 118, 70}, {20, 200, 30, 210}};
  castRects(casters, 0.0f);
  buffers->blur(programs->blurHorizontal, programs->blurVertical, wholeMap);
  const std::vector<float> whole = moments(buffers->shadowMap(), 0, GL_GREEN);

  castRects({}, 5.0f);
  buffers->blur(programs->blurHorizontal, programs->blurVertical, wholeMap);
  castRects(casters, 0.0f);
  const CasterBounds bounds = boundsOf(casters);
  const std::vector<TexelBox> covered = bounds.texels(size, 0);
  ASSERT_EQ(covered.size(), 3u);
  EXPECT_EQ(covered[0].x0, casters[0].x0);
  EXPECT_EQ(covered[0].y1, casters[0].y1);
  const std::vector<TexelBox> reached = bounds.texels(size, ShadowBuffers::blurReach);
  ASSERT_EQ(reached.size(), 2u) << "boxes that meet are joined";
  EXPECT_FALSE(reached[0].meets(reached[1]));
  glEnable(GL_DEPTH_TEST);
  buffers->blur(programs->blurHorizontal, programs->blurVertical, bounds);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << "the state found is left as it was";
  glDisable(GL_DEPTH_TEST);
  EXPECT_EQ(moments(buffers->shadowMap(), 0, GL_GREEN), whole);
}

TEST_F(ShadowBuffersTest, CasterBoundsCoverWhatTheLightSeesOfTheirBoxes) {
  CasterBounds none;
  none.begin(glm::mat4(1.0f));
  EXPECT_TRUE(none.texels(size, ShadowBuffers::blurReach).empty()) << "nothing casts";
  EXPECT_EQ(boundsOf({{250, 250, 300, 300}}).texels(size, 4).at(0).x1, size)
      << "clipped to the map";

  // Seen through a perspective, a box reaching behind the eye casts only with its
  // part in front of the near plane, and a box wholly behind casts nothing. The
  // eye looks down -z, so the box's x = 0 and y = 0 faces lie on the map's middle
  // lines, and its part nearest the eye reaches past the map's corner.
  const glm::mat4 perspective = glm::perspective(glm::radians(60.0f), 1.0f, 1.0f, 100.0f);
  const auto seen = [&perspective](const glm::vec3& low, const glm::vec3& high) {
    CasterBounds bounds;
    bounds.begin(perspective);
    BoundingBox box;
    box.add(low);
    box.add(high);
    bounds.add(box, glm::mat4(1.0f));
    return bounds.texels(size, 0);
  };
  const std::vector<TexelBox> cuts = seen({0.0f, 0.0f, -10.0f}, {2.0f, 2.0f, 10.0f});
  ASSERT_EQ(cuts.size(), 1u);
  const TexelBox& cut = cuts[0];
  EXPECT_EQ(cut.x0, size / 2);
  EXPECT_EQ(cut.y0, size / 2);
  EXPECT_EQ(cut.x1, size);
  EXPECT_EQ(cut.y1, size);
  EXPECT_TRUE(seen({0.0f, 0.0f, 1.0f}, {2.0f, 2.0f, 10.0f}).empty()) << "behind the eye";
}

// A level's file may give all its platforms as one flat-shaded mesh, each face
// with corners of its own: the casters' boxes are the platforms', not one box
// over everything between them.
TEST_F(ShadowBuffersTest, AMeshOfApartPlatformsCastsOneBoxForEachPlatform) {
  MeshData data;
  const auto addFlatShadedBox = [&data](const glm::vec3& low, const glm::vec3& high) {
    for (int axis = 0; axis < 3; ++axis)
      for (const float side : {low[axis], high[axis]}) {
        const auto first = static_cast<std::uint32_t>(data.positions.size());
        for (int corner = 0; corner < 4; ++corner) {
          glm::vec3 point = low;
          point[axis] = side;
          point[(axis + 1) % 3] = (corner & 1) ? high[(axis + 1) % 3] : low[(axis + 1) % 3];
          point[(axis + 2) % 3] = (corner & 2) ? high[(axis + 2) % 3] : low[(axis + 2) % 3];
          data.positions.push_back(point);
        }
        data.indices.insert(data.indices.end(),
                            {first, first + 1, first + 3, first, first + 3, first + 2});
      }
  };
  addFlatShadedBox({-10.0f, 0.0f, -10.0f}, {-8.0f, 1.0f, -8.0f});
  addFlatShadedBox({20.0f, 5.0f, 0.0f}, {24.0f, 6.0f, 3.0f});
  const Mesh platforms(std::move(data));
  const std::vector<BoundingBox>& pieces = platforms.unskinnedPieces();
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0].min, glm::vec3(-10.0f, 0.0f, -10.0f));
  EXPECT_EQ(pieces[0].max, glm::vec3(-8.0f, 1.0f, -8.0f));
  EXPECT_EQ(pieces[1].min, glm::vec3(20.0f, 5.0f, 0.0f));
  EXPECT_EQ(pieces[1].max, glm::vec3(24.0f, 6.0f, 3.0f));
}

// Outside the casters of this frame and the last, every smaller level holds what
// the cleared map averages to, so refreshing only there must leave each level as
// a refresh of the whole map would, also where last frame's casters were.
TEST_F(ShadowBuffersTest, MipmapsMadeAroundTheCastersMatchMipmapsOfTheWholeMap) {
  const TexelBox earlier{20, 200, 37, 230};
  const TexelBox later{150, 10, 161, 19};
  for (const TexelBox& caster : {earlier, later}) {
    castRects({caster}, 0.0f);
    buffers->blur(programs->blurHorizontal, programs->blurVertical, boundsOf({caster}));
  }
  const auto allLevels = [this] {
    std::vector<std::vector<float>> levels;
    for (GLint level = 1; (size >> level) > 0; ++level)
      levels.push_back(moments(buffers->shadowMap(), level, GL_GREEN));
    return levels;
  };
  const std::vector<std::vector<float>> aroundTheCasters = allLevels();
  glBindTexture(GL_TEXTURE_2D, buffers->shadowMap());
  glGenerateMipmap(GL_TEXTURE_2D);
  const std::vector<std::vector<float>> wholeMap = allLevels();
  ASSERT_EQ(aroundTheCasters.size(), wholeMap.size());
  for (std::size_t level = 0; level < wholeMap.size(); ++level)
    for (std::size_t texel = 0; texel < wholeMap[level].size(); ++texel)
      ASSERT_NEAR(aroundTheCasters[level][texel], wholeMap[level][texel], 1e-6f)
          << "level " << level + 1 << ", texel " << texel;
}

// Taps past an edge repeat the edge texel, so a column on the left edge keeps the
// weight of the taps that fall outside, and the rows stay alike up to the top and
// bottom edges. The second moment is blurred as the first is.
TEST_F(ShadowBuffersTest, BlurRepeatsTheEdgeTexelsPastTheMapsEdges) {
  castColumn(0);

  buffers->blur(programs->blurHorizontal, programs->blurVertical, wholeMap);

  const std::vector<float> first = moments(buffers->shadowMap(), 0);
  const std::vector<float> second = moments(buffers->shadowMap(), 0, GL_GREEN);
  const float edgeTaps[] = {0.6135135f, 0.3864865f, 0.1918919f, 0.0702703f, 0.0162162f, 0.0f};
  for (const size_t row : {size_t{0}, size_t{size / 2}, size_t{size - 1}}) {
    for (size_t x = 0; x < std::size(edgeTaps); ++x) {
      EXPECT_NEAR(first[row * size + x], edgeTaps[x], 1e-4f) << "row " << row << ", x " << x;
      EXPECT_NEAR(second[row * size + x], 2.0f * edgeTaps[x], 2e-4f)
          << "row " << row << ", x " << x;
    }
  }
}

}  // namespace
}  // namespace Vexa::test
