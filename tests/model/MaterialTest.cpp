#include <glm/gtc/type_ptr.hpp>
#include <tuple>

#include "model/PngFile.h"
#include "model/ScratchFolder.h"
#include "model/TestModel.h"
#include "render/MaterialEntry.h"
#include "render/ShaderProgram.h"
#include "scene/MeshObject.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

std::vector<unsigned char> textureContents(GLuint texture, GLenum format, std::size_t bytes) {
  std::vector<unsigned char> data(bytes);
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, data.data());
  return data;
}

class MaterialTest : public GlTest {
 protected:
  ScratchFolder scratch;
};

TEST_F(MaterialTest, UploadsGreyPaletteAndAlphaImagesAsRgbOrRgba) {
  scratch.write("Resources/Textures/grey.png", pngFile(2, 1, PngColour::Grey, {70, 200}));
  scratch.write("Resources/Textures/palette.png",
                pngFile(2, 1, PngColour::Palette, {1, 0}, {10, 20, 30, 40, 50, 60}));
  scratch.write("Resources/Textures/rgba.png", pngFile(1, 1, PngColour::Rgba, {1, 2, 3, 4}));
  scratch.write("Resources/Textures/greyAlpha.png", pngFile(1, 1, PngColour::GreyAlpha, {9, 128}));
  const std::vector<std::tuple<std::string, GLenum, std::vector<unsigned char>>> expected = {
      {"grey.png", GL_RGB, {70, 70, 70, 200, 200, 200}},
      {"palette.png", GL_RGB, {40, 50, 60, 10, 20, 30}},
      {"rgba.png", GL_RGBA, {1, 2, 3, 4}},
      {"greyAlpha.png", GL_RGBA, {9, 9, 9, 128}}};
  for (const auto& [name, format, texels] : expected) {
    const TextureImage image(name);
    EXPECT_EQ(image.format(), format) << name;
    EXPECT_EQ(textureContents(image.id(), format, texels.size()), texels) << name;
  }
  glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(MaterialTest, TextureFailuresEndTheGameWithTheFullPath) {
  EXPECT_EXIT(
      TextureImage("skins/old/missing.png"), testing::ExitedWithCode(255),
      exactMessage("could not load image texture Resources/Textures/skins/old/missing.png"));
  const MaterialEntry colour(glm::vec3(1, 0, 0));
  EXPECT_EXIT(colour.bind(), testing::ExitedWithCode(255), exactMessage("can only bind a texture"));
}

// Only a PNG's content makes it one, and its header's size is judged before the
// decoder allocates anything: an image past the driver's largest side or the memory
// bound fails although its header is all there is.
TEST_F(MaterialTest, OnlyPngContentIsDecodedAndItsSizeIsCheckedFirst) {
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  const auto side = static_cast<std::uint32_t>(largest);
  const std::string pixel = pngFile(1, 1, PngColour::Rgb, {1, 2, 3});
  const auto headerOnly = [](std::uint32_t width, std::uint32_t height) {
    const std::string header = pngFile(width, height, PngColour::Rgba, {});
    return header.substr(0, header.find("IDAT") - 4);
  };
  scratch.write("Resources/Textures/pixel.tga", pixel);
  EXPECT_EQ(TextureImage("pixel.tga").width(), 1) << "a PNG by any name is a PNG";
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"wide.png", headerOnly(side + 1, 1)},
      {"tall.png", headerOnly(1, side + 1)},
      {"huge.png", headerOnly(side, side)},
      {"nothing.png", headerOnly(0, 1)},
      // An uncompressed 1x1 TGA named as a PNG, and random bytes named as a WAL.
      {"pixel.png", std::string("\0\0\2\0\0\0\0\0\0\0\0\0\1\0\1\0\x18\0\1\2\3", 21)},
      {"random.wal", std::string("\x13\x99\x42\x07\xf1\x00\x5c\xee\x31\x8a\x02\x77", 12)},
      {"cut.png", pixel.substr(0, pixel.size() - 20)}};
  for (const auto& [name, contents] : refused) {
    scratch.write("Resources/Textures/" + name, contents);
    EXPECT_EXIT(TextureImage{name}, testing::ExitedWithCode(255),
                exactMessage("could not load image texture Resources/Textures/" + name))
        << name;
  }
}

TEST_F(MaterialTest, MeshesSetTheirMaterialAndANullEntryKeepsWhatTheProgramHeld) {
  scratch.write("Resources/Textures/pixel.png", pngFile(1, 1, PngColour::Rgb, {255, 0, 0}));
  scratch.write("model.dae", testModel("green_square"));
  ShaderProgram program("Shader/enemy_shader.vert", "Shader/enemy_shader.frag");
  const GLuint id = program.programId();
  scene::MeshObject model(&program, nullptr);
  model.loadModel("model.dae");
  auto uniformInt = [id](const char* name) {
    GLint value = -1;
    glGetUniformiv(id, glGetUniformLocation(id, name), &value);
    return value;
  };
  auto material = [id] {
    glm::vec3 value(-1.0f);
    glGetUniformfv(id, glGetUniformLocation(id, "material"), glm::value_ptr(value));
    return value;
  };

  model.draw();
  EXPECT_EQ(material(), glm::vec3(0, 0.5f, 0));
  EXPECT_EQ(uniformInt("useTexture"), 0);

  scene::SceneObject::Materials textured;
  textured.push_back(std::make_unique<MaterialEntry>(std::string("pixel.png")));
  const GLuint texture = textured[0]->texture()->id();
  model.setMaterials(std::move(textured));
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, 0);
  model.draw();
  EXPECT_EQ(uniformInt("useTexture"), 1);
  EXPECT_EQ(uniformInt("colorTexture"), 0);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), texture);

  scene::SceneObject::Materials none;
  none.push_back(nullptr);
  model.setMaterials(std::move(none));
  model.draw();
  EXPECT_EQ(uniformInt("useTexture"), 1) << "a null entry sets nothing";
  GLint current = -1;
  glGetIntegerv(GL_CURRENT_PROGRAM, &current);
  EXPECT_EQ(current, 0) << "a model drawn from its root leaves no program current";
}

// Nodes leave a shared program bound for the next; whatever mix of programs a tree
// holds, the tree as a whole leaves none current in either pass.
TEST_F(MaterialTest, ATreeDrawnFromItsRootLeavesNoProgramCurrentInEitherPass) {
  scratch.write("model.dae", testModel("green_square"));
  ShaderProgram lit("Shader/enemy_shader.vert", "Shader/enemy_shader.frag");
  ShaderProgram shadow("Shader/shadow_map_shader_animations.vert",
                       "Shader/shadow_map_shader_animations_VSM.frag");
  // A node without programs above a model, with a node of other programs at its bottom.
  scene::MeshObject root(nullptr, nullptr);
  auto model = std::make_unique<scene::MeshObject>(&lit, &shadow);
  model->loadModel("model.dae");
  model->findNode("Body")->addChild(std::make_unique<scene::MeshObject>(&shadow, &lit));
  root.addChild(std::move(model));
  for (const auto pass : {&scene::MeshObject::draw, &scene::MeshObject::drawShadow}) {
    (root.*pass)();
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
  }
}

}  // namespace
}  // namespace Vexa::test
