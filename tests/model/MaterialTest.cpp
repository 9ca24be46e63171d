#include <glm/gtc/type_ptr.hpp>

#include "model/Collada.h"
#include "model/ScratchFolder.h"
#include "render/MaterialEntry.h"
#include "render/ShaderProgram.h"
#include "scene/MeshObject.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

// An uncompressed TGA of one row: image type 2 (true colour, stored blue first)
// or 3 (grey), with the given bits per pixel and the bytes as they lie on disk.
std::string tga(unsigned char imageType, unsigned char bits, unsigned char width,
                const std::vector<unsigned char>& pixels) {
  std::string file = {0, 0, static_cast<char>(imageType), 0, 0, 0, 0, 0, 0, 0, 0, 0};
  file += {static_cast<char>(width), 0, 1, 0, static_cast<char>(bits), 0};
  file.append(pixels.begin(), pixels.end());
  return file;
}

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

TEST_F(MaterialTest, UploadsBgrGreyAndBgraImagesAsRgbOrRgba) {
  scratch.write("Resources/Textures/bgr.tga", tga(2, 24, 2, {10, 20, 30, 40, 50, 60}));
  scratch.write("Resources/Textures/grey.tga", tga(3, 8, 2, {70, 200}));
  scratch.write("Resources/Textures/bgra.tga", tga(2, 32, 1, {1, 2, 3, 4}));

  const TextureImage bgr("bgr.tga");
  EXPECT_EQ(bgr.format(), static_cast<GLenum>(GL_RGB));
  EXPECT_EQ(textureContents(bgr.id(), GL_RGB, 6),
            (std::vector<unsigned char>{30, 20, 10, 60, 50, 40}));

  const TextureImage grey("grey.tga");
  EXPECT_EQ(grey.format(), static_cast<GLenum>(GL_RGB));
  EXPECT_EQ(textureContents(grey.id(), GL_RGB, 6),
            (std::vector<unsigned char>{70, 70, 70, 200, 200, 200}));

  const TextureImage bgra("bgra.tga");
  EXPECT_EQ(bgra.format(), static_cast<GLenum>(GL_RGBA));
  EXPECT_EQ(textureContents(bgra.id(), GL_RGBA, 4), (std::vector<unsigned char>{3, 2, 1, 4}));
  glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(MaterialTest, TextureFailuresEndTheGameWithTheFullPath) {
  EXPECT_EXIT(
      TextureImage("skins/old/missing.png"), testing::ExitedWithCode(255),
      exactMessage("could not load image texture Resources/Textures/skins/old/missing.png"));
  const MaterialEntry colour(glm::vec3(1, 0, 0));
  EXPECT_EXIT(colour.bind(), testing::ExitedWithCode(255), exactMessage("can only bind a texture"));
}

TEST_F(MaterialTest, AnImageWiderThanTheDriverTakesEndsTheGame) {
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  const int width = largest + 1;
  // A binary grey PNM: a one-line text header, then one byte per pixel.
  scratch.write("Resources/Textures/wide.pgm",
                "P5\n" + std::to_string(width) + " 1\n255\n" + std::string(width, '\x80'));
  EXPECT_EXIT(TextureImage("wide.pgm"), testing::ExitedWithCode(255),
              exactMessage("could not load image texture Resources/Textures/wide.pgm"));
}

TEST_F(MaterialTest, MeshesSetTheirMaterialAndANullEntryKeepsWhatTheProgramHeld) {
  scratch.write("Resources/Textures/pixel.tga", tga(2, 24, 1, {0, 0, 255}));
  namespace dae = collada;
  scratch.write("model.dae", dae::colouredSquare({0, 0.5f, 0}));
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
  textured.push_back(std::make_unique<MaterialEntry>(std::string("pixel.tga")));
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
  scratch.write("model.dae", collada::colouredSquare({0, 0.5f, 0}));
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
