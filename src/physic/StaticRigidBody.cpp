#include "physic/StaticRigidBody.h"

#include <btBulletDynamicsCommon.h>

namespace Vexa::physic {

namespace {

constexpr btScalar staticMass = 1e11f;
constexpr btScalar heavyInertia = 1e11f;

btVector3 transformed(const glm::mat4& transform, const glm::vec3& position) {
  const glm::vec4 p = transform * glm::vec4(position, 1.0f);
  return {p.x, p.y, p.z};
}

}  // namespace

StaticRigidBody::StaticRigidBody(std::unique_ptr<btTriangleMesh> triangles, bool heavy)
    : triangles(std::move(triangles)) {
  const btScalar inertia = heavy ? heavyInertia : 0.0f;
  shape = std::make_unique<btBvhTriangleMeshShape>(this->triangles.get(),
                                                   /*useQuantizedAabbCompression=*/true,
                                                   /*buildBvh=*/true);
  auto motionState = std::make_unique<btDefaultMotionState>();
  btRigidBody::btRigidBodyConstructionInfo info(staticMass, motionState.get(), shape.get(),
                                                btVector3(inertia, inertia, inertia));
  info.m_friction = 0.1f;
  info.m_rollingFriction = 0.0f;
  info.m_restitution = 0.4f;
  adopt(std::move(motionState), std::make_unique<btRigidBody>(info));
}

StaticRigidBody::~StaticRigidBody() = default;

void StaticRigidBody::collectTriangles(const glm::mat4& transform,
                                       const std::vector<glm::vec3>& positions,
                                       const std::vector<std::uint32_t>& indices,
                                       btTriangleMesh& triangles) {
  std::vector<btVector3> world;
  world.reserve(positions.size());
  for (const glm::vec3& p : positions) world.push_back(transformed(transform, p));
  for (std::size_t i = 0; i + 2 < indices.size(); i += 3)
    triangles.addTriangle(world.at(indices[i]), world.at(indices[i + 1]), world.at(indices[i + 2]),
                          /*removeDuplicateVertices=*/false);
}

}  // namespace Vexa::physic
