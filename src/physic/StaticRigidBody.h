#pragma once

#include <cstdint>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <memory>
#include <vector>

#include "physic/RigidBody.h"

class btBvhTriangleMeshShape;
class btTriangleMesh;

namespace Vexa::physic {

/// Level geometry, an elevator or a door: a triangle mesh that the world treats as a
/// collision object only, so it never falls or drifts. The triangles already carry
/// the object's world transform, so the body's own transform starts as identity and
/// only changes when `PhysicsWorld::moveStaticBody` moves it.
class StaticRigidBody : public RigidBody {
 public:
  /// Builds the body from triangles already in world space. The mass is always
  /// 1e11; a heavy body also gets an inertia of 1e11, which only matters if it is
  /// ever turned into a moving body.
  StaticRigidBody(std::unique_ptr<btTriangleMesh> triangles, bool heavy);
  ~StaticRigidBody() override;

  /// Adds each triangle that `indices` names (three per face) of `positions`
  /// transformed by `transform`.
  static void collectTriangles(const glm::mat4& transform, const std::vector<glm::vec3>& positions,
                               const std::vector<std::uint32_t>& indices,
                               btTriangleMesh& triangles);

 private:
  std::unique_ptr<btTriangleMesh> triangles;
  std::unique_ptr<btBvhTriangleMeshShape> shape;
};

}  // namespace Vexa::physic
