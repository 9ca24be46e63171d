#include "physic/RigidBody.h"

#include <btBulletDynamicsCommon.h>

#include "physic/BulletConversions.h"

namespace Vexa::physic {

RigidBody::RigidBody() = default;

RigidBody::~RigidBody() = default;

glm::vec3 RigidBody::getPosition() const {
  return toGlm(body->getWorldTransform().getOrigin());
}

RigidBody* RigidBody::owning(const btCollisionObject& object) {
  return static_cast<RigidBody*>(object.getUserPointer());
}

void RigidBody::adopt(std::unique_ptr<btMotionState> state, std::unique_ptr<btRigidBody> rigid) {
  body = std::move(rigid);
  motionState = std::move(state);
  body->setUserPointer(this);
}

}  // namespace Vexa::physic
