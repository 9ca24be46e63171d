#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <memory>
#include <vector>

#include "physic/DynamicRigidBody.h"
#include "physic/PhysicsWorld.h"
#include "physic/StaticRigidBody.h"

class btTriangleMesh;

namespace Vexa::test {

/// A horizontal rectangle from corner `min` to corner `max` (x, z) at height `y`.
struct Rectangle {
  glm::vec2 min;
  glm::vec2 max;
  float y = 0.0f;
};

/// Level geometry for physics tests, built as the game builds its own: triangles
/// collected through `StaticRigidBody::collectTriangles`.
class PhysicsScenery {
 public:
  /// Adds the rectangles, each moved by `transform`, as one static body.
  static physic::StaticRigidBody& addRectangles(PhysicsWorld& world,
                                                const std::vector<Rectangle>& rectangles,
                                                bool heavy = true,
                                                const glm::mat4& transform = glm::mat4(1.0f));
  /// A flat disc of `radius` around `centre`, as one static body.
  static physic::StaticRigidBody& addDisc(PhysicsWorld& world, const glm::vec3& centre,
                                          float radius);
  /// A flat ring sector around `centre` between radii `inner` and `outer`, from
  /// `fromDegrees` to `toDegrees` (angles as the navigator measures them).
  static physic::StaticRigidBody& addSector(PhysicsWorld& world, const glm::vec3& centre,
                                            float inner, float outer, float fromDegrees,
                                            float toDegrees);
  /// Rolling terrain of `cells`² quads (two triangles each) over a square of `size`
  /// centred on the origin, between heights -1 and 1.
  static std::unique_ptr<btTriangleMesh> terrain(int cells, float size);
  /// An enemy-sized capsule body (radius and height `size`) registered at `position`.
  static physic::DynamicRigidBody& addEnemy(PhysicsWorld& world, const glm::vec3& position,
                                            float size = 0.8f);
  /// Steps the world by `steps` fixed frames of 1/60 s.
  static void run(PhysicsWorld& world, int steps);
};

}  // namespace Vexa::test
