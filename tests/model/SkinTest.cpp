#include <glm/gtc/matrix_transform.hpp>
#include <map>

#include "OffscreenTarget.h"
#include "ViewLighting.h"
#include "animation/Animation.h"
#include "model/Collada.h"
#include "model/ScratchFolder.h"
#include "model/VertexArrayProbe.h"
#include "render/Mesh.h"
#include "render/ModelLoader.h"
#include "render/ShaderProgram.h"
#include "scene/MeshObject.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

using scene::MeshObject;
namespace dae = collada;

const glm::mat4 boneBind = glm::translate(glm::mat4(1.0f), {0, -1, 0});
const glm::mat4 tipBind = glm::translate(glm::mat4(1.0f), {0, 1, 0});

// The square's bottom edge follows "Bone", its top edge "Tip" and "Bone" half and half.
dae::Skin squareSkin(std::vector<std::string> joints = {"Bone", "Tip"}) {
  dae::Skin skin;
  skin.id = "Skin";
  skin.geometryId = "Square";
  skin.joints = std::move(joints);
  skin.inverseBinds = {glm::inverse(boneBind), glm::inverse(boneBind * tipBind)};
  skin.influences = {{{0, 1.0f}}, {{0, 1.0f}}, {{1, 0.5f}, {0, 0.5f}}, {{1, 0.5f}, {0, 0.5f}}};
  return skin;
}

// The mesh node comes before the skeleton, so its bones name nodes read after it.
std::string skinnedScene(const std::string& geometryNode) {
  return dae::node("Body", geometryNode) +
         dae::node("Armature",
                   dae::node("Bone", dae::node("Tip", "", tipBind, true), boneBind, true));
}

// A clip that holds the pose with the tip at `tipPose`: before its first key the
// first key's pose holds.
std::string clipHolding(const glm::mat4& tipPose = tipBind) {
  return dae::animation({"Bone", {0.5f, 1.0f}, {boneBind, boneBind}}) +
         dae::animation({"Tip", {0.5f, 1.0f}, {tipPose, tipPose}});
}

class SkinTest : public GlTest {
 protected:
  std::unique_ptr<MeshObject> load(const std::string& file, const std::string& contents,
                                   ShaderProgram* program) {
    scratch.write(file, contents);
    auto model = std::make_unique<MeshObject>(program, nullptr);
    model->loadModel(file);
    return model;
  }

  std::unique_ptr<MeshObject> skinnedModel(ShaderProgram* program,
                                           const std::string& clip = clipHolding()) {
    return load("skinned.dae",
                dae::document(dae::geometry(dae::square("Square")) +
                                  dae::colourMaterial("Red", {0.8f, 0.1f, 0.1f}) +
                                  dae::controller(squareSkin()) + clip,
                              skinnedScene(dae::skinInstance("Skin", "Red", "Bone"))),
                program);
  }

  std::unique_ptr<MeshObject> plainModel(ShaderProgram* program) {
    return load("plain.dae",
                dae::document(dae::geometry(dae::square("Square")) +
                                  dae::colourMaterial("Red", {0.8f, 0.1f, 0.1f}),
                              skinnedScene(dae::meshInstance("Square", "Red"))),
                program);
  }

  ScratchFolder scratch;
};

TEST_F(SkinTest, WritesBoneRecordsWithNodeNumbersAndOffsetsIntoTheNamedNodes) {
  ShaderProgram program("Shader/enemy_shader.vert", "Shader/enemy_shader.frag");
  // "Ghost" names no node: it gets no joint, and its offset goes nowhere.
  dae::Skin skin = squareSkin({"Bone", "Tip", "Ghost"});
  skin.inverseBinds.push_back(glm::mat4(1.0f));
  skin.influences[0] = {{2, 0.5f}, {0, 0.5f}};
  const auto model =
      load("ghost.dae",
           dae::document(dae::geometry(dae::square("Square")) +
                             dae::colourMaterial("Red", {1, 0, 0}) + dae::controller(skin),
                         skinnedScene(dae::skinInstance("Skin", "Red", "Bone"))),
           &program);
  EXPECT_EQ(model->findNode("Bone")->nodeIndex(), 3);
  EXPECT_EQ(model->findNode("Tip")->nodeIndex(), 4);
  const ModelData data = ModelLoader::load("ghost.dae");
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
    const auto skinned = skinnedModel(&program);
    const auto plain = plainModel(&program);
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
  const auto bindPixels = renderPlaced(*skinnedModel(&program), program);
  // Turn the tip a quarter: the square's top edge, half on the tip, bends away.
  const glm::mat4 turned = tipBind * glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), {1, 0, 0});
  EXPECT_NE(renderPlaced(*skinnedModel(&program, clipHolding(turned)), program), bindPixels);
}

// Without a clip nothing would ever pose the skin, and every vertex would collapse.
TEST_F(SkinTest, ASkinnedModelWithoutAClipDrawsInItsBindPoseWhereItIsPlaced) {
  ShaderProgram program("Shader/enemy_shader.vert", "Shader/enemy_shader.frag");
  const auto clipless = skinnedModel(&program, "");
  ASSERT_NE(clipless->animation(), nullptr);
  EXPECT_FALSE(clipless->animation()->hasClip());
  const auto plainPixels = renderPlaced(*plainModel(&program), program);
  EXPECT_GT(litPixels(plainPixels), 1000u);
  EXPECT_EQ(renderPlaced(*clipless, program), plainPixels);
}

// The pose goes up as one array to the highest animated node; the driver drops the
// matrices past the shaders' 32, and the bones below still pose the skin.
TEST_F(SkinTest, AClipAnimatingNodesPastTheShadersSlotsStillPosesTheSkin) {
  ShaderProgram program("Shader/enemy_shader.vert", "Shader/enemy_shader.frag");
  std::string fillers;
  for (int n = 0; n < 30; ++n) fillers += dae::node("Filler" + std::to_string(n));
  const glm::mat4 turned = tipBind * glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), {1, 0, 0});
  const std::string clip = clipHolding(turned) + dae::animation({"Filler29", {0.5f}, {tipBind}});
  const auto crowded =
      load("crowded.dae",
           dae::document(dae::geometry(dae::square("Square")) +
                             dae::colourMaterial("Red", {0.8f, 0.1f, 0.1f}) +
                             dae::controller(squareSkin()) + clip,
                         skinnedScene(dae::skinInstance("Skin", "Red", "Bone")) + fillers),
           &program);
  ASSERT_GE(crowded->animation()->skinningNodes().back(), 32);
  EXPECT_EQ(renderPlaced(*crowded, program),
            renderPlaced(*skinnedModel(&program, clipHolding(turned)), program));
}

// The skinning shaders hold 32 matrices: a bone past them would draw nothing.
TEST_F(SkinTest, ABoneNumberedPastTheShadersSlotsIsRefusedAtLoad) {
  std::string fillers;
  for (int n = 0; n < 30; ++n) fillers += dae::node("Filler" + std::to_string(n));
  const std::string libraries = dae::geometry(dae::square("Square")) +
                                dae::colourMaterial("Red", {1, 0, 0}) +
                                dae::controller(squareSkin());
  scratch.write(
      "crowded.dae",
      dae::document(libraries, fillers + skinnedScene(dae::skinInstance("Skin", "Red", "Bone"))));
  EXPECT_EXIT(ModelLoader::load("crowded.dae"), testing::ExitedWithCode(255),
              exactMessage("model could not be loaded: bone \"Bone\" is node 33, past the 32 "
                           "the skinning shaders hold"));
  // Without a skin any number of nodes is fine: the level files have many.
  scratch.write(
      "plain.dae",
      dae::document(libraries, fillers + skinnedScene(dae::meshInstance("Square", "Red"))));
  EXPECT_EQ(ModelLoader::load("plain.dae").nodes.size(), 35u);
}

}  // namespace
}  // namespace Vexa::test
