#include "scene/mesh/Player.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <memory>

#include "audio/SoundSystem.h"
#include "physic/CharacterBody.h"
#include "physic/DynamicRigidBody.h"
#include "physic/PhysicsWorld.h"
#include "platform/Calendar.h"
#include "platform/Clock.h"
#include "render/ShaderProgram.h"
#include "scene/LevelFiles.h"

namespace Vexa::scene::mesh {

namespace {

// Degrees, like every camera angle: the start view is nearly level and looks
// nearly along the level's -z axis.
constexpr float startYaw = 1.5707964f;
constexpr float startPitch = -0.31415927f;

/// An eye below this height has fallen out of the world.
constexpr float fallLimit = -40.0f;

/// Seconds after the swing started during which the bat can strike.
constexpr double hitWindowStart = 0.30;
constexpr double hitWindowEnd = 0.35;

/// Draws from 1 to 100 below this are home runs.
constexpr int homerunDrawBelow = 25;
constexpr float homerunStrength = 60.0f;
constexpr float normalStrength = 20.0f;
constexpr float hitSoundVolume = 0.25f;
/// A struck enemy flies upwards and off to the side of the view.
constexpr float hitLift = 0.6f;
constexpr float hitTurnDegrees = 250.0f;

const glm::vec3 xAxis(1.0f, 0.0f, 0.0f);
const glm::vec3 yAxis(0.0f, 1.0f, 0.0f);

/// `v` as a row vector times `m`: the rotation's transpose applied to `v`.
glm::vec3 rowTimes(const glm::vec3& v, const glm::mat4& m) {
  return glm::vec3(glm::vec4(v, 0.0f) * m);
}

glm::vec3 hitDirection(const glm::vec3& viewDirection) {
  const glm::mat4 turn = glm::rotate(glm::mat4(1.0f), glm::radians(hitTurnDegrees), yAxis);
  return glm::vec3(turn * glm::vec4(viewDirection + glm::vec3(0.0f, hitLift, 0.0f), 0.0f));
}

}  // namespace

Player::Player(Bat* bat, PhysicsWorld* world, SoundSystem* sounds, const glm::mat4& projection)
    : MeshObject(nullptr, nullptr),
      projection(projection),
      currentBat(bat),
      world(world),
      sounds(sounds),
      body(&world->addCharacter(
          std::make_unique<CharacterBody>(playerStartPosition, *world, playerCapsule))),
      footstepSound(sounds, "footstep_grass.wav"),
      homerunSound(sounds, "homerunbat.wav"),
      woodSound(sounds, "wood_knock.wav") {
  woodSound.setVolume(hitSoundVolume);
  homerunSound.setVolume(hitSoundVolume);
  reset();
}

void Player::update(double, const glm::mat4&, const CameraMatrices&, bool) {
  frameStep();
}

void Player::updateWithoutCamera(double, const glm::mat4&) {
  frameStep();
}

void Player::draw() {
  const glm::vec3 centre = position();
  for (ShaderProgram* program : programs) {
    const GLuint id = program->programId();
    glUseProgram(id);
    glUniformMatrix4fv(glGetUniformLocation(id, "viewMatrix"), 1, GL_FALSE, glm::value_ptr(view));
    glUniform3f(glGetUniformLocation(id, "cameraPosition"), centre.x, centre.y, centre.z);
  }
  MeshObject::draw();
}

void Player::addShader(ShaderProgram* program) {
  programs.push_back(program);
  loadProjection(*program);
}

void Player::setProjection(const glm::mat4& perspective) {
  projection = perspective;
  for (const ShaderProgram* program : programs) loadProjection(*program);
}

void Player::loadProjection(const ShaderProgram& program) const {
  const GLuint id = program.programId();
  glUseProgram(id);
  glUniformMatrix4fv(glGetUniformLocation(id, "projectionMatrix"), 1, GL_FALSE,
                     glm::value_ptr(projection));
}

void Player::reset() {
  yaw = startYaw;
  pitch = startPitch;
  body->warp(playerStartPosition);
  localMatrix = glm::translate(glm::mat4(1.0f), playerStartPosition);
  view = glm::inverse(localMatrix);
  body->clearKnock();
}

glm::mat4 Player::cameraRotation() const {
  return glm::rotate(glm::mat4(1.0f), glm::radians(pitch), xAxis) *
         glm::rotate(glm::mat4(1.0f), glm::radians(yaw), yAxis);
}

glm::vec3 Player::viewDirection() const {
  return glm::normalize(rowTimes({0.0f, 0.0f, 1.0f}, cameraRotation()));
}

glm::vec3 Player::position() const {
  return body->position();
}

glm::vec3 Player::eyePosition() const {
  return position() + glm::vec3(0.0f, eyeHeight, 0.0f);
}

// A respawn takes effect in the same frame, so the camera and the ear never show
// the fall's end.
void Player::frameStep() {
  bowlOverTouchedEnemies();
  if (hitWindowOpen()) strikeTarget();
  if (eyePosition().y < fallLimit) reset();
  followWithCamera(eyePosition());
  stepFootsteps();
}

void Player::bowlOverTouchedEnemies() {
  if (body->onGround() && world->resolvePlayerContacts(*body)) homerunSound.play();
}

bool Player::hitWindowOpen() const {
  if (currentBat->state() != BatState::Swing || currentBat->hasHit()) return false;
  const double age = Clock::now() - currentBat->swingStartTime();
  return age > hitWindowStart && age < hitWindowEnd;
}

void Player::strikeTarget() {
  if (physic::DynamicRigidBody* target = world->pickDynamicBody(viewDirection()))
    throwEnemy(*target);
}

void Player::throwEnemy(physic::DynamicRigidBody& target) {
  const bool homerun = Calendar::reseededRand() % 100 + 1 < homerunDrawBelow;
  (homerun ? homerunSound : woodSound).play();
  target.applyHit(homerun ? homerunStrength : normalStrength, hitDirection(viewDirection()));
  currentBat->markHit();
}

// The player's sounds, the bat's included, come from the eye, where the ear is.
void Player::followWithCamera(const glm::vec3& eye) {
  const glm::mat4 rotation = cameraRotation();
  const glm::vec3 forward = rowTimes({0.0f, 0.0f, -1.0f}, rotation);
  const glm::vec3 up = rowTimes(yAxis, rotation);
  view = glm::lookAt(eye, eye + forward, up);
  for (SoundClip* clip : {&footstepSound, &homerunSound, &woodSound}) clip->moveTo(eye);
  currentBat->moveSoundTo(eye);
  sounds->updateListener(eye, forward, up);
}

// Footsteps sound while the character walks on the ground, and the bat swings
// along; a swing is never cut short.
void Player::stepFootsteps() {
  const bool walking = body->onGround() && body->isMoving();
  if (!walking) {
    footstepSound.stop();
  } else if (!footstepSound.isPlaying()) {
    footstepSound.play();
  }
  switchBatState(walking ? BatState::Walk : BatState::Idle);
}

void Player::switchBatState(BatState wanted) {
  const BatState state = currentBat->state();
  if (state != wanted && state != BatState::Swing) currentBat->setState(wanted);
}

}  // namespace Vexa::scene::mesh
