#include <assimp/Importer.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "model/PngFile.h"
#include "model/ScratchFolder.h"
#include "model/TestModel.h"
#include "model/VertexArrayProbe.h"
#include "render/MaterialEntry.h"
#include "render/Mesh.h"
#include "render/ModelLoader.h"
#include "render/ShaderProgram.h"
#include "scene/MeshObject.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

using scene::MeshObject;

class ModelLoaderTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    program =
        std::make_unique<ShaderProgram>("Shader/enemy_shader.vert", "Shader/enemy_shader.frag");
  }

  /// Loads the test model `name` as the game loads a model file.
  std::unique_ptr<MeshObject> load(const std::string& name) {
    scratch.write("model.dae", testModel(name));
    auto model = std::make_unique<MeshObject>(program.get(), nullptr);
    model->loadModel("model.dae");
    return model;
  }

  ScratchFolder scratch;
  std::unique_ptr<ShaderProgram> program;
};

TEST_F(ModelLoaderTest, NumbersNodesInPreOrderAndFindsThemByExactName) {
  const auto model = load("node_tree");
  const std::vector<std::pair<std::string, int>> expected = {{"A", 1}, {"B", 2}, {"C", 3},
                                                             {"D", 4}, {"E", 5}, {"F", 6}};
  EXPECT_EQ(model->nodeIndex(), 0);
  EXPECT_EQ(model->parent(), nullptr);
  for (const auto& [name, index] : expected) {
    MeshObject* node = model->findNode(name);
    ASSERT_NE(node, nullptr) << name;
    EXPECT_EQ(node->nodeIndex(), index) << name;
  }
  EXPECT_EQ(model->findNode("C")->parent(), model->findNode("B"));
  EXPECT_EQ(model->findNode("D")->children().at(1).get(), model->findNode("F"));
  EXPECT_EQ(model->findNode("c"), nullptr);
  EXPECT_EQ(model->findNode("B")->findNode("D"), nullptr) << "the search stays in the subtree";
  EXPECT_EQ(model->findNode(model->name()), model.get());
}

TEST_F(ModelLoaderTest, KeepsLocalMatricesInColumnMajorOrder) {
  // The matrices the test model's nodes hold.
  const glm::mat4 outer = glm::rotate(glm::translate(glm::mat4(1.0f), {1, 2, 3}), 0.5f, {0, 0, 1});
  const glm::mat4 inner = glm::scale(glm::translate(glm::mat4(1.0f), {0, 4, 0}), {2, 2, 2});
  const auto model = load("nested_matrices");
  const MeshObject* innerNode = model->findNode("Inner");
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) {
      EXPECT_NEAR(model->findNode("Outer")->localMatrix[c][r], outer[c][r], 1e-6) << c << r;
      EXPECT_NEAR(innerNode->globalMatrix()[c][r], (outer * inner)[c][r], 1e-5) << c << r;
    }
  }
}

TEST_F(ModelLoaderTest, UploadsEachAttributeInItsOwnTightBufferAndKeepsGeometry) {
  const auto model = load("red_square");
  const auto& meshes = model->findNode("Body")->meshes();
  ASSERT_EQ(meshes.size(), 1u);
  const Mesh& mesh = *meshes[0];
  EXPECT_EQ(mesh.vertexCount(), 4u);
  EXPECT_EQ(mesh.faceCount(), 2u);
  EXPECT_EQ(mesh.indices().size(), 6u);
  EXPECT_FALSE(mesh.skinned());
  for (std::uint32_t index : mesh.indices()) EXPECT_LT(index, mesh.vertexCount());

  const GLuint vao = mesh.vertexArrayId();
  const AttributeState position = attributeState(vao, 0);
  const AttributeState normal = attributeState(vao, 1);
  const AttributeState uv = attributeState(vao, 2);
  EXPECT_TRUE(position.enabled && normal.enabled && uv.enabled);
  EXPECT_EQ(position.size, 3);
  EXPECT_EQ(normal.size, 3);
  EXPECT_EQ(uv.size, 2);
  for (const AttributeState& s : {position, normal, uv}) {
    EXPECT_EQ(s.type, GL_FLOAT);
    EXPECT_EQ(s.stride, 0);
    EXPECT_EQ(s.offset, 0);
  }
  EXPECT_FALSE(attributeState(vao, 3).enabled);
  EXPECT_FALSE(attributeState(vao, 4).enabled);

  const auto positions = attributeBuffer<glm::vec3>(vao, 0, 4);
  const auto uvs = attributeBuffer<glm::vec2>(vao, 2, 4);
  for (std::size_t v = 0; v < 4; ++v) {
    EXPECT_EQ(positions[v], mesh.positions()[v]);
    // The file's v runs up from the image's bottom; the upload's runs down from its top.
    const glm::vec2 filePosition(mesh.positions()[v]);
    EXPECT_EQ(uvs[v], glm::vec2((filePosition.x + 1) / 2, 1 - (filePosition.y + 1) / 2));
  }
}

TEST_F(ModelLoaderTest, LeavesOutUvsWhenTheFileHasNone) {
  const auto model = load("square_without_uvs");
  const Mesh& mesh = *model->findNode("Body")->meshes().at(0);
  EXPECT_TRUE(mesh.uvs().empty());
  EXPECT_FALSE(attributeState(mesh.vertexArrayId(), 2).enabled);
  EXPECT_TRUE(attributeState(mesh.vertexArrayId(), 1).enabled) << "normals are generated";
}

TEST_F(ModelLoaderTest, LeavesOutFacesOfFewerThanThreeIndices) {
  const auto model = load("square_with_lines");
  std::uint32_t faces = 0;
  for (const auto& mesh : model->findNode("Body")->meshes()) {
    faces += mesh->faceCount();
    for (std::uint32_t index : mesh->indices()) EXPECT_LT(index, mesh->vertexCount());
  }
  EXPECT_EQ(faces, 2u) << "only the square's two triangles are drawn";
}

TEST_F(ModelLoaderTest, GivesTheRootOneMaterialPerFileMaterialByIndex) {
  scratch.write("Resources/Textures/skins/checker.png",
                pngFile(1, 1, PngColour::Rgb, {10, 20, 30}));
  const auto model = load("two_materials");
  const auto& materials = model->materials();
  const MaterialEntry* green =
      materials.at(model->findNode("L")->meshes().at(0)->materialIndex()).get();
  const MaterialEntry* skin =
      materials.at(model->findNode("R")->meshes().at(0)->materialIndex()).get();
  ASSERT_NE(green, nullptr);
  ASSERT_NE(skin, nullptr);
  ASSERT_NE(green->colour(), nullptr);
  EXPECT_EQ(*green->colour(), glm::vec3(0, 0.5f, 0));
  EXPECT_EQ(green->texture(), nullptr);
  EXPECT_EQ(skin->colour(), nullptr);
  ASSERT_NE(skin->texture(), nullptr);
  EXPECT_EQ(skin->texture()->width(), 1);
  EXPECT_TRUE(model->findNode("L")->materials().empty()) << "materials live in the root only";
}

TEST_F(ModelLoaderTest, AFileAssimpCannotReadEndsTheGame) {
  scratch.write("broken.dae", "<COLLADA><library_geometries><geometry");
  Assimp::Importer importer;
  ModelLoader::read(importer, "broken.dae");
  const std::string error = importer.GetErrorString();
  ASSERT_FALSE(error.empty());
  MeshObject model(program.get(), nullptr);
  EXPECT_EXIT(model.loadModel("broken.dae"), testing::ExitedWithCode(255),
              exactMessage("model could not be loaded: " + error));
  EXPECT_EXIT(model.loadModel("missing.dae"), testing::ExitedWithCode(255),
              testing::ContainsRegex("^model could not be loaded: "));
}

}  // namespace
}  // namespace Vexa::test
