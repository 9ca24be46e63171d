#include <glm/gtc/matrix_transform.hpp>
#include <map>

#include "OffscreenTarget.h"
#include "ViewLighting.h"
#include "animation/Animation.h"
#include "model/ScratchFolder.h"
#include "model/TestModel.h"
#include "model/VertexArrayProbe.h"
#include "render/Mesh.h"
#include "render/ModelLoader.h"
#include "render/ShaderProgram.h"
#include "scene/MeshObject.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

using scene::MeshObject;

// The matrices of the skinned test models' bones; their inverses are the bind matrices.
const glm::mat4 boneBind = glm::translate(glm::mat4(1.0f), {0, -1, 0});
const glm::mat4 tipBind = glm::translate(glm::mat4(1.0f), {0, 1, 0});

class SkinTest : public GlTest {
 protected:
  /// Loads the test model `name` with `program`.
  std::unique_ptr<MeshObject> load(const std::string& name, ShaderProgram* program) {
    scratch.write(name + ".dae", testModel(name));
    auto model = std::make_unique<MeshObject>(program, nullptr);
    model->loadModel(name + ".dae");
    return model;
  }

  ScratchFolder scratch;
};

TEST_F(SkinTest, WritesBoneRecordsWithNodeNumbersAndOffsetsIntoTheNamedNodes) {
  ShaderProgram program("Shader/enemy_shader.vert", "Shader/enemy_shader.frag");
  // "Ghost" names no node: it gets no joint, and its offset goes nowhere.
  const auto model = load("skinned_square_with_ghost", &program);
  EXPECT_EQ(model->findNode("Bone")->nodeIndex(), 3);
  EXPECT_EQ(model->findNode("Tip")->nodeIndex(), 4);
  const ModelData data = ModelLoader::load("skinned_square_with_ghost.dae");
  const NodeData& bone = data.nodes.at(3);
  const NodeData& tip = data.nodes.at(4);
  EXPECT_TRUE(bone.namedByBone);
  EXPECT_FALSE(data.nodes.at(static_cast<std::size_t>(data.findNode("Armature"))).namedByBone);
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) {
      EXPECT_NEAR(bone.offsetMatrix[c][r], glm::inverse(boneBind)[c][r], 1e-6);
      EXPECT_NEAR(tip.offsetMatrix[c][r], glm::inverse(boneBind * tipBind)[c][r], 1e-6);
    }
  }

  const Mesh& mesh = *model->findNode("Body")->meshes().at(0);
  ASSERT_TRUE(mesh.skinned());
  const auto records = attributeBuffer<BoneRecord>(mesh.vertexArrayId(), 3, mesh.vertexCount());
  for (std::uint32_t v = 0; v < mesh.vertexCount(); ++v) {
    std::map<std::int32_t, float> weightOf;
    for (std::size_t slot = 0; slot < 4; ++slot) {
      if (records[v].weights[slot] == 0.0f) {
        EXPECT_EQ(records[v].joints[slot], 0) << "an empty slot";
      } else {
        weightOf[records[v].joints[slot]] += records[v].weights[slot];
      }
    }
    const glm::vec3 p = mesh.positions()[v];
    const bool ghostVertex = p.x < 0 && p.y < 0;
    const std::map<std::int32_t, float> expected =
        p.y > 0 ? std::map<std::int32_t, float>{{3, 0.5f}, {4, 0.5f}}
                : std::map<std::int32_t, float>{{3, ghostVertex ? 0.5f : 1.0f}};
    EXPECT_EQ(weightOf, expected) << "vertex at " << p.x << ", " << p.y;
  }
  const AttributeState joints = attributeState(mesh.vertexArrayId(), 3);
  const AttributeState weights = attributeState(mesh.vertexArrayId(), 4);
  EXPECT_TRUE(joints.enabled && weights.enabled);
  EXPECT_TRUE(joints.integer);
  EXPECT_EQ(joints.type, GL_INT);
  EXPECT_EQ(weights.type, GL_FLOAT);
  EXPECT_EQ(joints.size, 4);
  EXPECT_EQ(weights.size, 4);
  EXPECT_EQ(joints.stride, 32);
  EXPECT_EQ(weights.stride, 32);
  EXPECT_EQ(joints.offset, 0);
  EXPECT_EQ(weights.offset, 16);
}

// The camera and light every program below reads; the bat's program ignores the view.
void setFrameUniforms(const ShaderProgram& program) {
  viewer::ViewLighting lighting;
  lighting.projection = glm::perspective(glm::radians(50.0f), 1.0f, 0.5f, 20.0f);
  lighting.eye = {1, 1, 6};
  lighting.view = glm::lookAt(lighting.eye, glm::vec3(0), glm::vec3(0, 1, 0));
  lighting.light = {3, 4, 5};
  lighting.diffuse = glm::vec3(1.0f);
  lighting.specular = glm::vec3(0.5f);
  lighting.specularExponent = 8.0f;
  lighting.load(program.programId());
}

std::vector<unsigned char> renderPlaced(MeshObject& model, const ShaderProgram& program) {
  // Placed the way enemies are placed: the root's local matrix, which the bone matrices hold.
  model.localMatrix = glm::rotate(glm::translate(glm::mat4(1.0f), {0.3f, -0.2f, -1.0f}),
                                  glm::radians(30.0f), glm::vec3(0, 1, 0));
  if (model.animation() && model.animation()->hasClip())
    model.animation()->evaluate(0.0, model.localMatrix);
  model.updateWithoutCamera(0.0, glm::mat4(1.0f));
  viewer::OffscreenTarget target(128, 128);
  target.begin(0.0f);
  setFrameUniforms(program);
  model.draw();
  return target.pixels();
}

std::size_t litPixels(const std::vector<unsigned char>& rgba) {
  std::size_t lit = 0;
  for (std::size_t i = 0; i < rgba.size(); i += 4) lit += rgba[i] > 0 ? 1 : 0;
  return lit;
}

TEST_F(SkinTest, ASkinnedModelAtItsBindPoseRendersLikeTheSameMeshUnskinned) {
  const std::vector<std::pair<std::string, std::string>> programs = {
      {"enemy_shader.vert", "enemy_shader.frag"},
      {"bat_shader.vert", "bat_shader.frag"},
      {"shadow_map_shader_animations.vert", "shadow_map_shader_animations_VSM.frag"}};
  for (const auto& [vertex, fragment] : programs) {
    ShaderProgram program("Shader/" + vertex, "Shader/" + fragment);
    const auto skinned = load("skinned_square", &program);
    const auto plain = load("square_on_armature", &program);
    ASSERT_NE(skinned->animation(), nullptr);
    // COLLADA clips count milliseconds; this one's first key lies at 500, not at 0.
    EXPECT_EQ(skinned->animation()->ticksPerSecond(), 1000.0);
    const Animation& animation = *skinned->animation();
    EXPECT_NEAR(animation.track(skinned->findNode("Bone")->nodeIndex())->key(0).time, 500.0, 1e-3);
    const auto skinnedPixels = renderPlaced(*skinned, program);
    const auto plainPixels = renderPlaced(*plain, program);
    EXPECT_GT(litPixels(plainPixels), 1000u) << vertex;
    EXPECT_EQ(skinnedPixels, plainPixels) << vertex;
  }
}

TEST_F(SkinTest, APosedBoneMovesItsVertices) {
  ShaderProgram program("Shader/enemy_shader.vert", "Shader/enemy_shader.frag");
  const auto bindPixels = renderPlaced(*load("skinned_square", &program), program);
  // The tip turned a quarter: the square's top edge, half on the tip, bends away.
  EXPECT_NE(renderPlaced(*load("skinned_square_bent", &program), program), bindPixels);
}

// Without a clip nothing would ever pose the skin, and every vertex would collapse.
TEST_F(SkinTest, ASkinnedModelWithoutAClipDrawsInItsBindPoseWhereItIsPlaced) {
  ShaderProgram program("Shader/enemy_shader.vert", "Shader/enemy_shader.frag");
  const auto clipless = load("skinned_square_without_clip", &program);
  ASSERT_NE(clipless->animation(), nullptr);
  EXPECT_FALSE(clipless->animation()->hasClip());
  const auto plainPixels = renderPlaced(*load("square_on_armature", &program), program);
  EXPECT_GT(litPixels(plainPixels), 1000u);
  EXPECT_EQ(renderPlaced(*clipless, program), plainPixels);
}

// The pose goes up as one array to the highest animated node; the driver drops the
// matrices past the shaders' slots, and the bones below still pose the skin.
TEST_F(SkinTest, AClipAnimatingNodesPastTheShadersSlotsStillPosesTheSkin) {
  ShaderProgram program("Shader/enemy_shader.vert", "Shader/enemy_shader.frag");
  // The bent square, and a clip that animates the last of many nodes after it too.
  const auto crowded = load("skinned_square_bent_before_fillers", &program);
  ASSERT_GE(crowded->animation()->skinningNodes().back(), skinningSlots);
  EXPECT_EQ(renderPlaced(*crowded, program),
            renderPlaced(*load("skinned_square_bent", &program), program));
}

// A bone past the skinning shaders' slots would draw nothing.
TEST_F(SkinTest, ABoneNumberedPastTheShadersSlotsIsRefusedAtLoad) {
  // Thirty nodes come before the skinned square's scene.
  scratch.write("crowded.dae", testModel("skinned_square_after_fillers"));
  EXPECT_EXIT(ModelLoader::load("crowded.dae"), testing::ExitedWithCode(255),
              exactMessage("model could not be loaded: bone \"Bone\" is node 33, past the 32 "
                           "the skinning shaders hold"));
  // Without a skin any number of nodes is fine: the level files have many.
  scratch.write("plain.dae", testModel("square_on_armature_after_fillers"));
  EXPECT_EQ(ModelLoader::load("plain.dae").nodes.size(), 35u);
}

}  // namespace
}  // namespace Vexa::test
