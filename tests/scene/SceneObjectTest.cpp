#include <glm/gtc/matrix_transform.hpp>

#include "OffscreenTarget.h"
#include "model/ScratchFolder.h"
#include "model/TestModel.h"
#include "render/ShaderProgram.h"
#include "scene/MeshObject.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

using scene::MeshObject;

/// A node that notes which traversals reached it.
class VisitedNode : public MeshObject {
 public:
  explicit VisitedNode(const std::string& name) : MeshObject(nullptr, nullptr) { setName(name); }

  void update(double elapsed, const glm::mat4& parentWorld, const scene::CameraMatrices& camera,
              bool culling) override {
    visits += "u";
    MeshObject::update(elapsed, parentWorld, camera, culling);
  }
  void updateWithoutCamera(double elapsed, const glm::mat4& parentWorld) override {
    visits += "w";
    MeshObject::updateWithoutCamera(elapsed, parentWorld);
  }
  void draw() override {
    visits += "d";
    MeshObject::draw();
  }
  void drawShadow() override {
    visits += "s";
    MeshObject::drawShadow();
  }

  std::string visits;
};

VisitedNode& addVisited(MeshObject& parent, const std::string& name) {
  return static_cast<VisitedNode&>(parent.addChild(std::make_unique<VisitedNode>(name)));
}

void traverseAll(MeshObject& root) {
  root.update(0.016, glm::mat4(1.0f), scene::CameraMatrices{}, true);
  root.updateWithoutCamera(0.016, glm::mat4(1.0f));
  root.draw();
  root.drawShadow();
}

TEST(SceneObjectTest, MarkerChildrenAndTheirSubtreesAreNeverVisited) {
  MeshObject root(nullptr, nullptr);
  std::vector<VisitedNode*> skipped;
  for (const char* marker : {"Armature", "Spawner", "Events"}) {
    skipped.push_back(&addVisited(root, marker));
  }
  skipped.push_back(&addVisited(*skipped[1], "SpawnPoint"));
  std::vector<VisitedNode*> visited;
  for (const char* name : {"armature", "EventsTrigger", "Spawner ", "Body"}) {
    visited.push_back(&addVisited(root, name));
  }
  traverseAll(root);
  for (const VisitedNode* node : skipped) EXPECT_EQ(node->visits, "") << node->name();
  for (const VisitedNode* node : visited) EXPECT_EQ(node->visits, "uwds") << node->name();
}

TEST(SceneObjectTest, UpdatesComposeWorldMatricesDownTheTree) {
  MeshObject root(nullptr, nullptr);
  MeshObject& same = addVisited(root, "Same");
  MeshObject& moved = addVisited(same, "Moved");
  moved.localMatrix = glm::translate(glm::mat4(1.0f), {1, 2, 3});
  const glm::mat4 parentWorld = glm::rotate(glm::mat4(0.3f), 0.7f, glm::vec3(0.1f, 0.9f, 0.3f));
  root.updateWithoutCamera(0.0, parentWorld);
  EXPECT_EQ(same.worldMatrix, parentWorld) << "an identity local matrix keeps the parent's bits";
  EXPECT_EQ(moved.worldMatrix, parentWorld * moved.localMatrix);
  EXPECT_EQ(moved.globalMatrix(), moved.localMatrix) << "the chain of local matrices only";
}

class SceneDrawTest : public GlTest {
 protected:
  // Draws `root`'s shadow pass into a fresh target and counts the pixels it covered.
  static std::size_t shadowPixels(MeshObject& root) {
    viewer::OffscreenTarget target(64, 64);
    target.begin(0.0f);
    root.updateWithoutCamera(0.0, glm::mat4(1.0f));
    root.drawShadow();
    std::size_t covered = 0;
    const auto pixels = target.pixels();
    for (std::size_t i = 0; i < pixels.size(); i += 4) covered += pixels[i] > 0 ? 1 : 0;
    return covered;
  }

  ScratchFolder scratch;
};

TEST_F(SceneDrawTest, OnlyNodesWithAShadowProgramCastShadowsButAllChildrenAreVisited) {
  scratch.write("square.dae", testModel("red_square"));
  ShaderProgram lit("Shader/enemy_shader.vert", "Shader/enemy_shader.frag");
  ShaderProgram shadow("Shader/shadow_map_shader_animations.vert",
                       "Shader/shadow_map_shader_animations_VSM.frag");
  for (ShaderProgram* program : {&lit, &shadow}) {
    glUseProgram(program->programId());
    const glm::mat4 ortho = glm::ortho(-2.0f, 2.0f, -2.0f, 2.0f, -2.0f, 2.0f);
    glUniformMatrix4fv(glGetUniformLocation(program->programId(), "projectionMatrix"), 1, GL_FALSE,
                       &ortho[0][0]);
    glUniformMatrix4fv(glGetUniformLocation(program->programId(), "viewMatrix"), 1, GL_FALSE,
                       &glm::mat4(1.0f)[0][0]);
  }
  glUseProgram(0);

  MeshObject withoutShadow(&lit, nullptr);
  withoutShadow.loadModel("square.dae");
  EXPECT_EQ(shadowPixels(withoutShadow), 0u);

  MeshObject caster(&lit, &shadow);
  caster.loadModel("square.dae");
  EXPECT_GT(shadowPixels(caster), 500u);

  MeshObject parent(&lit, nullptr);
  parent.addChild(std::make_unique<MeshObject>(&lit, &shadow))
      .addChild(std::make_unique<MeshObject>(&lit, &shadow));
  auto model = std::make_unique<MeshObject>(&lit, &shadow);
  model->loadModel("square.dae");
  parent.addChild(std::move(model));
  EXPECT_GT(shadowPixels(parent), 500u) << "a child under a node without one still casts";
}

}  // namespace
}  // namespace Vexa::test
