#include "model/ScratchFolder.h"
#include "model/TestModel.h"
#include "physic/PhysicsWorld.h"
#include "physic/StaticRigidBody.h"
#include "render/ShaderProgram.h"
#include "scene/mesh/Path.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

using scene::mesh::Path;

// Level files of a floor square on "Level" and, in one of them, a sun 10 above the origin.
const std::string withSun = "level_floor_with_sun";
const std::string withoutSun = "level_floor";

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
  scratch.write("Resources/Models/level7.dae", testModel(withSun));
  const Path path(program.get(), nullptr, 7, &world);
  EXPECT_EQ(path.scale(), 2.0f);
  ASSERT_NE(world.groundBody, nullptr);
  EXPECT_EQ(world.staticBodies().size(), 1u);
  ASSERT_EQ(path.lights.size(), 1u);
  EXPECT_EQ(path.lights[0].position, glm::vec3(0, 20, 0)) << "the sun is scaled with the level";
  EXPECT_EQ(path.lights[0].diffuseColour, glm::vec3(1.0f, 0.96f, 0.696f));
}

TEST_F(PathTest, ALevelFileWithoutARequiredNodeEndsTheGameNamingIt) {
  scratch.write("Resources/Models/level7.dae", testModel(withoutSun));
  EXPECT_EXIT(Path(program.get(), nullptr, 7, &world), testing::ExitedWithCode(255),
              exactMessage("level file Resources/Models/level7.dae has no node \"Sun\""));
  scratch.write("Resources/Models/level8.dae", testModel(withSun));
  Path path(program.get(), nullptr, 8, &world);
  EXPECT_EXIT(path.requiredNode("Spawner"), testing::ExitedWithCode(255),
              exactMessage("level file Resources/Models/level8.dae has no node \"Spawner\""));
}

}  // namespace
}  // namespace Vexa::test
