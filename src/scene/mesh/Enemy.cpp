#include "scene/mesh/Enemy.h"

#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <cmath>
#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>

#include "animation/Animation.h"
#include "physic/BulletConversions.h"
#include "physic/DynamicRigidBody.h"
#include "physic/PhysicsWorld.h"
#include "platform/Calendar.h"
#include "platform/Clock.h"
#include "platform/Geometry.h"

namespace Vexa::scene::mesh {

namespace {

/// Draws out of 101 below which an idle enemy starts walking, and a walking one stops.
constexpr int startWalkingBelow = 90;
constexpr int stopWalkingBelow = 5;
/// Draws out of 100 below which an idle enemy plays idle A, and an idle sound plays.
constexpr int idleABelow = 49;
constexpr int idleSoundBelow = 20;

/// A tumbling enemy slower than this stands up again.
constexpr float standUpSpeed = 4.0f;
/// The direction to the target turned by more than this: the enemy walked past it.
constexpr float overshootDegrees = 100.0f;
/// A touched enemy turns round and aims this far behind itself.
constexpr float turnBackDistance = 2.0f;

/// Half-size of the box the view-frustum culling tests.
constexpr float cullingHalfSize = 5.0f;

/// `v` scaled to unit length; zero stays zero.
glm::vec2 unitOrZero(const glm::vec2& v) {
  const float length = glm::length(v);
  return length > 0.0f ? v / length : glm::vec2(0.0f);
}

float degreesBetween(const glm::vec2& a, const glm::vec2& b) {
  return static_cast<float>(std::acos(std::clamp(glm::dot(a, b), -1.0f, 1.0f)) * 180.0 / pi);
}

/// The `Enemy::modelYaw` that faces the horizontal `direction` (x, z): degrees about
/// the vertical from +z towards +x, in [0, 360).
float modelYawFacing(const glm::vec2& direction) {
  const float degrees =
      static_cast<float>(std::acos(direction.y / glm::length(direction)) * 180.0 / pi);
  return direction.x < 0.0f ? 360.0f - degrees : degrees;
}

std::unique_ptr<btCollisionShape> capsule(double scale) {
  const auto size = static_cast<btScalar>(Enemy::bodySize * scale);
  return std::make_unique<btCapsuleShape>(size, size);
}

std::unique_ptr<SoundClip> optionalClip(SoundSystem* soundSystem, const char* fileName) {
  return fileName ? std::make_unique<SoundClip>(soundSystem, fileName) : nullptr;
}

std::array<glm::vec4, 8> cullingBox() {
  const float h = cullingHalfSize;
  return {{{h, h, h, 1},
           {-h, h, h, 1},
           {h, -h, h, 1},
           {h, h, -h, 1},
           {-h, -h, h, 1},
           {-h, h, -h, 1},
           {h, -h, -h, 1},
           {-h, -h, -h, 1}}};
}

}  // namespace

Enemy::Enemy(ShaderProgram* program, ShaderProgram* shadowProgram, SoundSystem* soundSystem,
             PhysicsWorld* world, bool standStill, const EnemyKind& kind)
    : MeshObject(program, shadowProgram),
      standStill(standStill),
      platformBody(world->groundBody),
      frames(kind.clip),
      world(*world) {
  loadModel(kind.modelPath);
  idleSoundA = optionalClip(soundSystem, kind.idleSoundA);
  idleSoundB = optionalClip(soundSystem, kind.idleSoundB);
  hitSound = optionalClip(soundSystem, kind.hitSound);
  boundingCorners = cullingBox();
}

void Enemy::update(double elapsedSeconds, const glm::mat4& parentWorld,
                   const CameraMatrices& camera, bool culling) {
  step();
  MeshObject::update(elapsedSeconds, parentWorld, camera, culling);
}

void Enemy::updateWithoutCamera(double elapsedSeconds, const glm::mat4& parentWorld) {
  step();
  MeshObject::updateWithoutCamera(elapsedSeconds, parentWorld);
}

void Enemy::createBody(const glm::vec3& position) {
  physicsBody = &world.addDynamicBody(
      std::make_unique<physic::DynamicRigidBody>(capsule(modelScale), position, world));
  walkTarget = nextTarget(position);
}

void Enemy::wake() {
  standStill = false;
  clip().endSegment();
  currentState = EnemyState::StartWalking;
}

void Enemy::setScale(double scale) {
  modelScale = scale;
  if (physicsBody) physicsBody->replaceShape(capsule(scale));
}

float Enemy::walkSpeed(float base, float factor) const {
  return base * factor;
}

glm::vec3 Enemy::position() const {
  return physicsBody ? physicsBody->getPosition() : glm::vec3(localMatrix[3]);
}

// A hit is noticed first, so that the tumbling segment starts in the same update.
void Enemy::step() {
  if (!physicsBody) return;
  if (position().y < killHeight) leavePlay();
  if (physicsBody->hit && currentState != EnemyState::Hit) enterHitState();
  if (clip().segmentEnded()) chooseNextState();
  switch (currentState) {
    case EnemyState::StartWalking:
      startWalkingStep();
      break;
    case EnemyState::Walking:
      walkStep();
      break;
    case EnemyState::Hit:
      hitStep();
      break;
    case EnemyState::Idle:
    case EnemyState::StopWalking:
      updateModelMatrix();
      break;
  }
  followWithSounds();
}

// Out of play for good: hidden, and its body no longer falls through the empty
// world below.
void Enemy::leavePlay() {
  hidden = true;
  physicsBody->rigidBody().forceActivationState(DISABLE_SIMULATION);
}

void Enemy::enterHitState() {
  stateStart = Clock::now();
  currentState = EnemyState::Hit;
  if (hitSound && !hitSound->isPlaying()) hitSound->play();
  for (SoundClip* idleSound : {idleSoundA.get(), idleSoundB.get()})
    if (idleSound) idleSound->stop();
  clip().endSegment();
}

// Runs when a segment has ended. A tumbling enemy keeps tumbling until it is slow
// enough to stand up; its state's start stays the moment it was hit.
void Enemy::chooseNextState() {
  switch (currentState) {
    case EnemyState::Idle:
      if (!standStill && Calendar::reseededRand() % 101 < startWalkingBelow)
        currentState = EnemyState::StartWalking;
      break;
    case EnemyState::StartWalking:
      currentState = EnemyState::Walking;
      break;
    case EnemyState::Walking:
      if (Calendar::reseededRand() % 101 < stopWalkingBelow) currentState = EnemyState::StopWalking;
      break;
    case EnemyState::StopWalking:
      currentState = EnemyState::Idle;
      break;
    case EnemyState::Hit:
      break;
  }
  if (currentState != EnemyState::Hit) stateStart = Clock::now();
  playStateAnimation();
}

void Enemy::playStateAnimation() {
  const EnemyClip& c = frames;
  switch (currentState) {
    case EnemyState::Idle:
      if (Calendar::reseededRand() % 100 < idleABelow) {
        playIdle(c.idleAFrames, idleSoundA.get());
      } else {
        playIdle(c.idleBFrames, idleSoundB.get());
      }
      break;
    case EnemyState::StartWalking:
      play(c.startWalkFrame, c.walkFrames.first);
      break;
    case EnemyState::Walking:
      play(c.walkFrames.first, c.walkFrames.last);
      break;
    case EnemyState::StopWalking:
      play(c.walkFrames.last, c.stopWalkFrame);
      break;
    case EnemyState::Hit:
      play(c.hitFrames.first, c.hitFrames.last);
      break;
  }
}

void Enemy::playIdle(const FrameRange& idleFrames, SoundClip* sound) {
  if (sound && Calendar::reseededRand() % 100 < idleSoundBelow) sound->play();
  play(idleFrames.first, idleFrames.last);
}

void Enemy::play(unsigned first, unsigned last) {
  clip().play(first, last, frames.frameCount);
}

void Enemy::startWalkingStep() {
  updateModelMatrix();
}

// The walk sets a velocity, which the physics integrates; gravity keeps pulling.
void Enemy::walkStep() {
  const glm::vec3 from = position();
  glm::vec2 toTarget = horizontal(walkTarget - from);
  if (world.touchesOtherThan(*physicsBody, platformBody)) turnBack(from, toTarget);
  const float distance = glm::length(toTarget);
  if (!(distance > 0.0f)) {
    // At the target: a new one, and idling from the next update on, without the
    // stop-walking segment.
    walkTarget = nextTarget(from);
    clip().endSegment();
    currentState = EnemyState::StopWalking;
    return;
  }
  const glm::vec2 direction = toTarget / distance;
  if (degreesBetween(direction, walkDirection) > overshootDegrees) return retarget(from);
  const glm::vec2 velocity = direction * walkSpeed(speedSetting, 1.0f);
  btRigidBody& rigid = physicsBody->rigidBody();
  rigid.activate();
  rigid.setLinearVelocity(btVector3(velocity.x, rigid.getLinearVelocity().y(), velocity.y));
  modelYaw = modelYawFacing(direction);
  updateModelMatrix();
  walkDirection = direction;
}

// Standing on the target itself there is no way back to turn to.
void Enemy::turnBack(const glm::vec3& from, glm::vec2& toTarget) {
  const glm::vec2 ahead = unitOrZero(toTarget);
  if (ahead == glm::vec2(0.0f)) return;
  const glm::vec2 behind = horizontal(from) - turnBackDistance * ahead;
  walkTarget = glm::vec3(behind.x, walkTarget.y, behind.y);
  toTarget = horizontal(walkTarget - from);
  walkDirection = unitOrZero(toTarget);
}

// The body keeps its velocity and the model its placement until the next update.
void Enemy::retarget(const glm::vec3& from) {
  walkTarget = nextTarget(from);
  walkDirection = unitOrZero(horizontal(walkTarget - from));
}

void Enemy::hitStep() {
  if (glm::length(physic::toGlm(physicsBody->rigidBody().getLinearVelocity())) < standUpSpeed)
    standUp();
  updateModelMatrix();
}

// An enemy that has stood up walks on its own, even one that was kept still before.
void Enemy::standUp() {
  physicsBody->standUpright();
  currentState = EnemyState::Idle;
  walkTarget = nextTarget(position());
  standStill = false;
  clip().endSegment();
  physicsBody->hit = false;
}

void Enemy::updateModelMatrix() {
  const btQuaternion turn = physicsBody->rigidBody().getWorldTransform().getRotation();
  glm::mat4 placement = glm::translate(glm::mat4(1.0f), position()) *
                        glm::mat4_cast(glm::quat(turn.w(), turn.x(), turn.y(), turn.z()));
  if (currentState != EnemyState::Hit)
    placement = glm::translate(
        placement, glm::vec3(0.0f, static_cast<float>(-enemyBodyCentreHeight * modelScale), 0.0f));
  placement = glm::scale(placement, glm::vec3(static_cast<float>(modelScale)));
  // The model stands along its z axis and faces -y.
  placement = glm::rotate(placement, glm::radians(-90.0f), glm::vec3(1.0f, 0.0f, 0.0f));
  if (modelYaw != 0.0f)
    placement = glm::rotate(placement, glm::radians(modelYaw), glm::vec3(0.0f, 0.0f, 1.0f));
  localMatrix = placement;
}

// The sounds come from the body, wherever it goes while they play.
void Enemy::followWithSounds() {
  const glm::vec3 here = position();
  for (SoundClip* sound : {idleSoundA.get(), idleSoundB.get(), hitSound.get()})
    if (sound) sound->moveTo(here);
}

glm::vec3 Enemy::nextTarget(const glm::vec3& from) const {
  return physicsBody->navigator().nextTarget(from, platformBody);
}

}  // namespace Vexa::scene::mesh
