#include "physic/DynamicRigidBody.h"

#include <btBulletDynamicsCommon.h>

#include <algorithm>

#include "physic/BulletConversions.h"
#include "physic/PhysicsWorld.h"

namespace Vexa::physic {

namespace {

constexpr btScalar enemyMass = 1.0f;
const btVector3 enemyGravity(0, -40, 0);
const btVector3 hitAngularFactor(0.3f, 0.3f, 0.3f);

}  // namespace

DynamicRigidBody::DynamicRigidBody(std::unique_ptr<btCollisionShape> shape,
                                   const glm::vec3& startPosition, PhysicsWorld& world)
    : shape(std::move(shape)), world(world), platformNavigator(world) {
  btVector3 inertia(0, 0, 0);
  this->shape->calculateLocalInertia(enemyMass, inertia);
  const btTransform start(btQuaternion::getIdentity(), toBullet(startPosition));
  auto motionState = std::make_unique<btDefaultMotionState>(start);
  btRigidBody::btRigidBodyConstructionInfo info(enemyMass, motionState.get(), this->shape.get(),
                                                inertia);
  info.m_friction = 5.0f;
  info.m_rollingFriction = 0.0f;
  info.m_restitution = 1.3f;
  auto body = std::make_unique<btRigidBody>(info);
  body->setGravity(enemyGravity);
  body->setAngularFactor(btVector3(0, 0, 0));
  body->getWorldTransform().setBasis(btMatrix3x3::getIdentity());
  adopt(std::move(motionState), std::move(body));
}

DynamicRigidBody::~DynamicRigidBody() = default;

void DynamicRigidBody::replaceShape(std::unique_ptr<btCollisionShape> newShape) {
  btRigidBody& body = rigidBody();
  world.forgetPairs(body);
  body.setCollisionShape(newShape.get());
  shape = std::move(newShape);
  world.dynamicsWorld().updateSingleAabb(&body);
}

void DynamicRigidBody::manifoldStarted(const btPersistentManifold& manifold) {
  manifolds.push_back(&manifold);
}

void DynamicRigidBody::manifoldEnded(const btPersistentManifold& manifold) {
  const auto entry = std::find(manifolds.begin(), manifolds.end(), &manifold);
  if (entry != manifolds.end()) manifolds.erase(entry);
}

void DynamicRigidBody::applyHit(float strength, const glm::vec3& direction) {
  btRigidBody& body = rigidBody();
  body.activate();
  body.setAngularVelocity(btVector3(0, 0, 0));
  body.setAngularFactor(hitAngularFactor);
  body.applyCentralImpulse(toBullet(direction) * strength);
  hit = true;
}

void DynamicRigidBody::standUpright() {
  btRigidBody& body = rigidBody();
  body.setAngularVelocity(btVector3(0, 0, 0));
  btTransform upright = body.getWorldTransform();
  upright.setBasis(btMatrix3x3::getIdentity());
  body.setWorldTransform(upright);
  body.setInterpolationWorldTransform(upright);
  body.setAngularFactor(btVector3(0, 0, 0));
}

}  // namespace Vexa::physic
