#include <glm/gtc/matrix_transform.hpp>

#include "model/Collada.h"
#include "model/ScratchFolder.h"
#include "physic/PhysicsWorld.h"
#include "physic/StaticRigidBody.h"
#include "render/ShaderProgram.h"
#include "scene/mesh/Path.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

namespace dae = collada;
using scene::mesh::Path;

// A level file of a floor square on "Level" and, if asked, a sun 10 above the origin.
std::string levelFile(bool withSun) {
  const std::string sun =
      withSun ? dae::node("Sun", "", glm::translate(glm::mat4(1.0f), {0, 10, 0})) : "";
  return dae::document(
      dae::geometry(dae::square("Square")) + dae::colourMaterial("Grey", {1, 1, 1}),
      dae::node("Level", dae::meshInstance("Square", "Grey")) + sun);
}

class PathTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    program = std::make_unique<ShaderProgram>("Shader/texture_shadow_VSM.vert",
                                              "Shader/texture_shadow_VSM.frag");
  }

  ScratchFolder scratch;
  PhysicsWorld world;
  std::unique_ptr<ShaderProgram> program;
};

TEST_F(PathTest, TheGeometryIsTwiceItsFileGroundsTheWorldAndBringsTheSun) {
  scratch.write("Resources/Models/level7.dae", levelFile(true));
  const Path path(program.get(), nullptr, 7, &world);
  EXPECT_EQ(path.scale(), 2.0f);
  ASSERT_NE(world.groundBody, nullptr);
  EXPECT_EQ(world.staticBodies().size(), 1u);
  ASSERT_EQ(path.lights.size(), 1u);
  EXPECT_EQ(path.lights[0].position, glm::vec3(0, 20, 0)) << "the sun is scaled with the level";
  EXPECT_EQ(path.lights[0].diffuseColour, glm::vec3(1.0f, 0.96f, 0.696f));
}

TEST_F(PathTest, ALevelFileWithoutARequiredNodeEndsTheGameNamingIt) {
  scratch.write("Resources/Models/level7.dae", levelFile(false));
  EXPECT_EXIT(Path(program.get(), nullptr, 7, &world), testing::ExitedWithCode(255),
              exactMessage("level file Resources/Models/level7.dae has no node \"Sun\""));
  scratch.write("Resources/Models/level8.dae", levelFile(true));
  Path path(program.get(), nullptr, 8, &world);
  EXPECT_EXIT(path.requiredNode("Spawner"), testing::ExitedWithCode(255),
              exactMessage("level file Resources/Models/level8.dae has no node \"Spawner\""));
}

}  // namespace
}  // namespace Vexa::test
