#pragma once

#include <glm/vec3.hpp>
#include <memory>

class btCollisionObject;
class btMotionState;
class btRigidBody;

namespace Vexa::physic {

/// A Bullet rigid body with its motion state: what static and dynamic bodies share.
/// The body exists from construction on, and its user pointer leads back here.
class RigidBody {
 public:
  virtual ~RigidBody();
  RigidBody(const RigidBody&) = delete;
  RigidBody& operator=(const RigidBody&) = delete;

  btRigidBody& rigidBody() const { return *body; }

  /// Origin of the body's world transform.
  glm::vec3 getPosition() const;

  /// The body that `object` belongs to; null for an object no RigidBody made.
  static RigidBody* owning(const btCollisionObject& object);

 protected:
  RigidBody();

  /// Takes the body the subclass built; the motion state is owned here, the shape by the subclass.
  void adopt(std::unique_ptr<btMotionState> state, std::unique_ptr<btRigidBody> rigid);

 private:
  std::unique_ptr<btMotionState> motionState;
  std::unique_ptr<btRigidBody> body;
};

}  // namespace Vexa::physic
