#include <btBulletDynamicsCommon.h>

#include <glm/ext/matrix_transform.hpp>
#include <glm/geometric.hpp>

#include "physic/PhysicsScenery.h"
#include "physic/StaticRigidBody.h"
#include "render/Mesh.h"
#include "scene/MeshObject.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

using scene::MeshObject;

// What a vertical ray through (x, z) meets first coming down from high above.
const btCollisionObject* firstHitBelow(PhysicsWorld& world, float x, float z, float* hitY) {
  const btVector3 from(x, 1000, z);
  const btVector3 to(x, -1000, z);
  btCollisionWorld::ClosestRayResultCallback closest(from, to);
  world.dynamicsWorld().rayTest(from, to, closest);
  if (hitY != nullptr) *hitY = closest.m_hitPointWorld.y();
  return closest.hasHit() ? closest.m_collisionObject : nullptr;
}

class StaticRigidBodyTest : public GlTest {
 protected:
  // A unit square in the node's xz plane, as a model file gives it.
  static std::unique_ptr<Mesh> square() {
    MeshData data;
    data.positions = {{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}};
    data.indices = {0, 2, 1, 0, 3, 2};
    return std::make_unique<Mesh>(std::move(data));
  }

  PhysicsWorld world;
};

// The node's triangles carry the whole parent chain; its children's triangles
// are left to bodies of their own.
TEST_F(StaticRigidBodyTest, CollectsTheNodesOwnMeshesInWorldSpace) {
  MeshObject root(nullptr, nullptr);
  root.localMatrix = glm::scale(glm::translate(glm::mat4(1.0f), {0, 5, 0}), glm::vec3(2.0f));
  auto& node =
      static_cast<MeshObject&>(root.addChild(std::make_unique<MeshObject>(nullptr, nullptr)));
  node.localMatrix = glm::translate(glm::mat4(1.0f), {10, 0, 0});
  node.addMesh(square());
  node.addMesh(square());
  auto& child = node.addChild(std::make_unique<MeshObject>(nullptr, nullptr));
  child.localMatrix = glm::translate(glm::mat4(1.0f), {0, 0, 10});
  child.addMesh(square());

  const auto& body = world.addStaticBody(node.staticBody(true));
  float hitY = 0.0f;
  EXPECT_EQ(firstHitBelow(world, 20.0f, 0.0f, &hitY), &body.rigidBody());
  EXPECT_FLOAT_EQ(hitY, 5.0f);
  EXPECT_EQ(firstHitBelow(world, 21.9f, 1.9f, nullptr), &body.rigidBody()) << "scaled by 2";
  EXPECT_EQ(firstHitBelow(world, 20.0f, 20.0f, nullptr), nullptr) << "the child's square";
}

TEST_F(StaticRigidBodyTest, ARootNodeUsesItsLocalMatrix) {
  MeshObject root(nullptr, nullptr);
  root.localMatrix = glm::translate(glm::mat4(1.0f), {0, -3, 0});
  root.addMesh(square());
  const auto& body = world.addStaticBody(root.staticBody(false));
  float hitY = 0.0f;
  EXPECT_EQ(firstHitBelow(world, 0.5f, 0.5f, &hitY), &body.rigidBody());
  EXPECT_FLOAT_EQ(hitY, -3.0f);
}

// The first level's geometry, loaded from its file: an enemy dropped onto its
// broadest floor comes to rest standing on it.
TEST_F(StaticRigidBodyTest, LevelGeometryFromItsFileCarriesAnEnemy) {
  MeshObject level(nullptr, nullptr);
  level.loadModel("Resources/Models/level1.dae");
  MeshObject* geometry = level.findNode("Level");
  ASSERT_NE(geometry, nullptr);
  world.groundBody = &world.addStaticBody(geometry->staticBody(true));

  glm::vec3 floor(0.0f);
  float broadest = 0.0f;
  const glm::mat4 toWorld = geometry->globalMatrix();
  for (const auto& mesh : geometry->meshes()) {
    const auto& p = mesh->positions();
    const auto& i = mesh->indices();
    for (std::size_t f = 0; f + 2 < i.size(); f += 3) {
      const glm::vec3 a = toWorld * glm::vec4(p[i[f]], 1);
      const glm::vec3 b = toWorld * glm::vec4(p[i[f + 1]], 1);
      const glm::vec3 c = toWorld * glm::vec4(p[i[f + 2]], 1);
      const glm::vec3 n = glm::cross(b - a, c - a);
      if (std::abs(n.y) > 0.99f * glm::length(n) && glm::length(n) > broadest) {
        broadest = glm::length(n);
        floor = (a + b + c) / 3.0f;
      }
    }
  }
  ASSERT_GT(broadest, 0.0f);
  float surfaceY = 0.0f;
  ASSERT_EQ(firstHitBelow(world, floor.x, floor.z, &surfaceY), &world.groundBody->rigidBody());

  physic::DynamicRigidBody& enemy =
      PhysicsScenery::addEnemy(world, {floor.x, surfaceY + 3.0f, floor.z});
  PhysicsScenery::run(world, 240);
  EXPECT_NEAR(enemy.getPosition().y, surfaceY + 1.2f, 0.1f);
  EXPECT_NEAR(enemy.getPosition().x, floor.x, 0.5f);
}

}  // namespace
}  // namespace Vexa::test
