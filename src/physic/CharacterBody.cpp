#include "physic/CharacterBody.h"

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <BulletDynamics/Character/btKinematicCharacterController.h>
#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <cmath>
#include <glm/geometric.hpp>

#include "physic/BulletConversions.h"
#include "physic/PhysicsWorld.h"
#include "platform/Clock.h"

namespace Vexa {

using physic::toBullet;

namespace {

constexpr btScalar jumpSpeed = 17.0f;
constexpr float floatGravity = 1.0e-6f;
constexpr float floatRiseSeconds = 1.5f;
constexpr float e = 2.7182817f;

btVector3 downwards(float gravity) {
  return {0.0f, -gravity, 0.0f};
}

float decay(float u) {
  return std::pow(e, -std::pow(u, 2.0f));
}

float sign(float u) {
  return static_cast<float>((u > 0.0f) - (u < 0.0f));
}

}  // namespace

CharacterBody::CharacterBody(const glm::vec3& start, PhysicsWorld& owner, const CapsuleSize& size)
    : owner(owner),
      capsule(std::make_unique<btCapsuleShape>(static_cast<btScalar>(size.radius),
                                               static_cast<btScalar>(size.height))),
      ghost(std::make_unique<btPairCachingGhostObject>()) {
  ghost->setCollisionShape(capsule.get());
  ghost->setCollisionFlags(btCollisionObject::CF_CHARACTER_OBJECT);
  controller = std::make_unique<btKinematicCharacterController>(
      ghost.get(), capsule.get(), static_cast<btScalar>(size.stepHeight), btVector3(0, 1, 0));
  controller->setJumpSpeed(jumpSpeed);
  // The controller turns the ghost from its initial z-up frame to the y axis it is
  // given, which would lay the capsule on its side: stand it upright afterwards.
  placeUpright(start);
}

CharacterBody::~CharacterBody() = default;

void CharacterBody::walk(const glm::vec3& displacement) {
  glm::vec3 d = displacement;
  moving = glm::length(d) != 0.0f;
  // As the last step left it: `sink` changes what the controller reports.
  const bool grounded = controller->onGround();
  if (!grounded) d *= owner.floatMode ? floatAirScale : airScale;
  if (knockStartTime) {
    const float phase = knockPhase();
    const glm::vec3 push = knockPush(phase);
    if (floatSinking(phase))
      sink(-push.y, d);
    else
      d += push;
    if (grounded) endKnockOnLanding(phase);
  }
  // After `sink`: Bullet's setLinearVelocity also sets the walk.
  controller->setWalkDirection(toBullet(d));
}

bool CharacterBody::floatSinking(float phase) const {
  return owner.floatMode && phase > 0.0f;
}

// A sinking float goes down through the controller's fall, not its walk: the
// walk's sweep stops short of the ground without moving to the contact, and the
// step down after it reaches only one step height, so a walk sink could hang
// above the ground for good, while the fall lands on contact. Bullet caps the
// fall at its fall speed; a deeper sink sends the rest through the walk, and
// should that stop short, the fall still reaches the ground in the same step.
void CharacterBody::sink(float depth, glm::vec3& walkDisplacement) {
  const float fallDepth = std::min(depth, controller->getFallSpeed() * PhysicsWorld::fixedStep);
  fall(fallDepth);
  walkDisplacement.y -= depth - fallDepth;
}

void CharacterBody::fall(float depthPerStep) {
  controller->setLinearVelocity(btVector3(0.0f, -depthPerStep / PhysicsWorld::fixedStep, 0.0f));
}

float CharacterBody::knockPhase() const {
  const auto sinceStart = static_cast<float>(Clock::now() - *knockStartTime);
  return owner.floatMode ? sinceStart - floatRiseSeconds : sinceStart;
}

// The float rises while the phase is negative, hangs at 0 (1.5 s in) and sinks
// after; a knock-back is strongest at contact and fades as e^(-t^2).
glm::vec3 CharacterBody::knockPush(float phase) const {
  if (owner.floatMode) return knockVector * (1.0f - decay(phase)) * sign(phase) * -1.0f;
  return knockVector * decay(phase);
}

void CharacterBody::endKnockOnLanding(float phase) {
  if (phase <= knockMinimumSeconds) return;
  land();
  clearKnock();
}

void CharacterBody::land() {
  controller->setGravity(downwards(landedGravity));
  floating = false;
}

void CharacterBody::jump() {
  if (owner.floatMode) {
    // A float restarted while sinking rises from rest, as from its turning point.
    if (knockStartTime && floatSinking(knockPhase())) fall(0.0f);
    knockStartTime = Clock::now();
    knockVector = {0.0f, 1.0f, 0.0f};
    controller->setGravity(downwards(floatGravity));
    floating = true;
    return;
  }
  if (controller->canJump() && !knockStartTime) controller->jump();
}

// Bullet's reset also stops any fall, so a respawned player starts at rest.
void CharacterBody::warp(const glm::vec3& position) {
  controller->reset(&owner.dynamicsWorld());
  controller->setWalkDirection(btVector3(0, 0, 0));
  placeUpright(position);
}

void CharacterBody::placeUpright(const glm::vec3& position) {
  ghost->setWorldTransform(btTransform(btQuaternion::getIdentity(), toBullet(position)));
}

void CharacterBody::knockBack(const glm::vec3& normal) {
  knockStartTime = Clock::now();
  knockVector = {0.2f * normal.x, normal.y + knockLift, 0.2f * normal.z};
  land();
}

// A float forgotten in mid-air (a respawn) must not leave its weightlessness
// behind: the player would hang where it was put and walk on air.
void CharacterBody::clearKnock() {
  if (floating) land();
  knockVector = glm::vec3(0.0f);
  knockStartTime.reset();
}

glm::vec3 CharacterBody::position() const {
  return physic::toGlm(ghost->getWorldTransform().getOrigin());
}

bool CharacterBody::onGround() const {
  return controller->onGround();
}

}  // namespace Vexa
