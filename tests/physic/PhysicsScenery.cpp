#include "physic/PhysicsScenery.h"

#include <btBulletDynamicsCommon.h>

#include <cmath>
#include <glm/trigonometric.hpp>

namespace Vexa::test {

namespace {

physic::StaticRigidBody& addTriangles(PhysicsWorld& world, const glm::mat4& transform,
                                      const std::vector<glm::vec3>& positions,
                                      const std::vector<std::uint32_t>& indices, bool heavy) {
  auto triangles = std::make_unique<btTriangleMesh>();
  physic::StaticRigidBody::collectTriangles(transform, positions, indices, *triangles);
  return world.addStaticBody(
      std::make_unique<physic::StaticRigidBody>(std::move(triangles), heavy));
}

glm::vec3 onCircle(const glm::vec3& centre, float degrees, float radius) {
  const float radians = glm::radians(degrees);
  return centre + glm::vec3(std::cos(radians) * radius, 0.0f, std::sin(radians) * radius);
}

}  // namespace

physic::StaticRigidBody& PhysicsScenery::addRectangles(PhysicsWorld& world,
                                                       const std::vector<Rectangle>& rectangles,
                                                       bool heavy, const glm::mat4& transform) {
  std::vector<glm::vec3> positions;
  std::vector<std::uint32_t> indices;
  for (const Rectangle& r : rectangles) {
    const auto first = static_cast<std::uint32_t>(positions.size());
    positions.insert(positions.end(), {{r.min.x, r.y, r.min.y},
                                       {r.max.x, r.y, r.min.y},
                                       {r.max.x, r.y, r.max.y},
                                       {r.min.x, r.y, r.max.y}});
    indices.insert(indices.end(), {first, first + 2, first + 1, first, first + 3, first + 2});
  }
  return addTriangles(world, transform, positions, indices, heavy);
}

physic::StaticRigidBody& PhysicsScenery::addDisc(PhysicsWorld& world, const glm::vec3& centre,
                                                 float radius) {
  return addSector(world, centre, 0.0f, radius, 0.0f, 360.0f);
}

physic::StaticRigidBody& PhysicsScenery::addSector(PhysicsWorld& world, const glm::vec3& centre,
                                                   float inner, float outer, float fromDegrees,
                                                   float toDegrees) {
  const int segments = 72;
  std::vector<glm::vec3> positions;
  std::vector<std::uint32_t> indices;
  for (int i = 0; i <= segments; ++i) {
    const float angle = fromDegrees + (toDegrees - fromDegrees) * static_cast<float>(i) / segments;
    positions.push_back(onCircle(centre, angle, inner));
    positions.push_back(onCircle(centre, angle, outer));
  }
  for (std::uint32_t i = 0; i < segments; ++i) {
    const std::uint32_t a = 2 * i;
    indices.insert(indices.end(), {a, a + 1, a + 3, a, a + 3, a + 2});
  }
  return addTriangles(world, glm::mat4(1.0f), positions, indices, true);
}

std::unique_ptr<btTriangleMesh> PhysicsScenery::terrain(int cells, float size) {
  auto triangles = std::make_unique<btTriangleMesh>();
  const float cell = size / static_cast<float>(cells);
  auto corner = [&](int i, int j) {
    const float x = -size / 2 + cell * static_cast<float>(i);
    const float z = -size / 2 + cell * static_cast<float>(j);
    return btVector3(x, std::sin(x * 0.1f) * std::cos(z * 0.1f), z);
  };
  for (int i = 0; i < cells; ++i) {
    for (int j = 0; j < cells; ++j) {
      triangles->addTriangle(corner(i, j), corner(i, j + 1), corner(i + 1, j + 1));
      triangles->addTriangle(corner(i, j), corner(i + 1, j + 1), corner(i + 1, j));
    }
  }
  return triangles;
}

physic::DynamicRigidBody& PhysicsScenery::addEnemy(PhysicsWorld& world, const glm::vec3& position,
                                                   float size) {
  return world.addDynamicBody(std::make_unique<physic::DynamicRigidBody>(
      std::make_unique<btCapsuleShape>(size, size), position, world));
}

void PhysicsScenery::run(PhysicsWorld& world, int steps) {
  for (int i = 0; i < steps; ++i) world.step(1.0f / 60.0f);
}

}  // namespace Vexa::test
