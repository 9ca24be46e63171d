#include "scene/Level.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "animation/Animation.h"
#include "audio/SoundSystem.h"
#include "physic/CharacterBody.h"
#include "physic/PhysicsWorld.h"
#include "scene/LevelFiles.h"
#include "scene/SceneContainer.h"
#include "scene/event/FinishedEvent.h"
#include "scene/event/Level1ElevatorEvent.h"
#include "scene/mesh/Bat.h"
#include "scene/mesh/Enemy.h"
#include "scene/mesh/EnemyKinds.h"
#include "scene/mesh/Hemisphere.h"
#include "scene/mesh/Hud.h"
#include "scene/mesh/LevelText.h"
#include "scene/mesh/Path.h"
#include "scene/mesh/Player.h"
#include "scene/mesh/Ruby.h"
#include "scene/mesh/Terrain.h"

namespace Vexa {

using scene::mesh::Enemy;
using scene::mesh::Path;

namespace {

const char* batStateName(scene::mesh::BatState state) {
  switch (state) {
    case scene::mesh::BatState::Swing:
      return "Swing";
    case scene::mesh::BatState::Idle:
      return "Idle";
    case scene::mesh::BatState::Walk:
      return "Walk";
  }
  return "";
}

LevelState::Enemy enemyState(const Enemy& enemy) {
  const Animation& clip = *enemy.animation();
  return {enemy.position(), static_cast<int>(enemy.state()), clip.startFrame(), clip.endFrame(),
          enemy.hidden};
}

bool isFinishedEvent(const std::string& name) {
  for (const char* finished : finishedEvents)
    if (name == finished) return true;
  return false;
}

}  // namespace

Level::BodyRelease::~BodyRelease() {
  world.removeAllBodies();
}

Level::Level(PhysicsWorld& physicsWorld, float width, float height)
    : physicsWorld(physicsWorld),
      bodyRelease{physicsWorld},
      soundSystem(std::make_unique<SoundSystem>(
          discardSound ? SoundSystem::Output::Discarded : SoundSystem::Output::DefaultDevice)) {
  buildCast(width, height);
}

Level::~Level() = default;

glm::mat4 Level::projection(float width, float height) {
  const float top = nearPlane * std::tan(glm::radians(fieldOfViewDegrees / 2.0f));
  const float right = top * (width / height);
  return glm::frustum(-right, right, -top, top, nearPlane, farPlane);
}

// The crosshair is placed in pixels from the window's top left corner.
void Level::loadCrosshairOrtho(float width, float height) {
  const glm::mat4 ortho = glm::ortho(0.0f, width, height, 0.0f, -1.0f, 1.0f);
  glUseProgram(programs.crosshair.programId());
  glUniformMatrix4fv(glGetUniformLocation(programs.crosshair.programId(), "orthoMatrix"), 1,
                     GL_FALSE, glm::value_ptr(ortho));
  glUseProgram(0);
}

void Level::buildCast(float width, float height) {
  loadCrosshairOrtho(width, height);
  auto bat = std::make_unique<scene::mesh::Bat>(&programs.bat, &programs.bat, soundSystem.get(), 0);
  auto player = std::make_unique<scene::mesh::Player>(bat.get(), &physicsWorld, soundSystem.get(),
                                                      projection(width, height));
  auto hud = std::make_unique<scene::mesh::Hud>(&programs.crosshair, &physicsWorld, player.get(),
                                                width, height);
  scene::mesh::Player& eye = *player;
  sceneContainer = std::make_unique<scene::SceneContainer>(
      std::move(player), std::move(bat), std::make_unique<scene::mesh::Hemisphere>(&programs.sky),
      std::make_unique<scene::mesh::Terrain>(&programs.texture), std::move(hud), &physicsWorld);
  for (ShaderProgram* program :
       {&programs.texture, &programs.level, &programs.enemy, &programs.bat, &programs.levelText,
        &programs.sun, &programs.ruby, &programs.crosshair, &programs.sky, &programs.shadowMap,
        &programs.animatedShadowMap})
    eye.addShader(program);
}

void Level::fitView(float width, float height) {
  loadCrosshairOrtho(width, height);
  player().setProjection(projection(width, height));
  sceneContainer->hud().fitWindow(width, height);
}

scene::mesh::Player& Level::player() const {
  return sceneContainer->player();
}

Path& Level::addGeometry(int levelNumber) {
  // The geometry writes its own distance into the shadow map: a variance shadow
  // map averages what lies around a caster, and only the ground's own distance
  // there gives a small caster its shadow and every shadow its soft edge. The
  // sun, around the light's eye, would cover the whole map: it casts none.
  Path& geometry = sceneContainer->add(
      std::make_unique<Path>(&programs.level, &programs.shadowMap, levelNumber, &physicsWorld));
  geometry.requiredNode(sunNode).setPrograms(&programs.sun, nullptr);
  return geometry;
}

Path& Level::buildPlayableLevel(int levelNumber, bool standStill) {
  Path& geometry = addGeometry(levelNumber);
  sceneContainer->add(
      std::make_unique<scene::mesh::LevelText>(&programs.levelText, nullptr, levelNumber));
  spawnEnemies(geometry, standStill);
  createEvents(geometry);
  return geometry;
}

// The spawn points take turns: Roller, Jumper, Walker, Roller, ...
void Level::spawnEnemies(Path& geometry, bool standStill) {
  const scene::MeshObject& spawner = geometry.requiredNode(spawnerNode);
  for (std::size_t i = 0; i < spawner.children().size(); ++i)
    spawnEnemy(i % 3, glm::vec3(spawner.children()[i]->globalMatrix()[3]), standStill);
}

Enemy& Level::spawnEnemy(std::size_t turn, const glm::vec3& position, bool standStill) {
  Enemy& enemy = sceneContainer->add(
      scene::mesh::enemyOfKind(turn, &programs.enemy, &programs.animatedShadowMap,
                               soundSystem.get(), &physicsWorld, standStill));
  enemy.createBody(position);
  enemy.setScale(spawnScale);
  return enemy;
}

// The event's name, not the level, chooses what it does.
void Level::createEvents(Path& geometry) {
  const scene::MeshObject* events = geometry.findNode(eventsNode);
  if (!events) return;
  for (const auto& child : events->children()) {
    if (child->name() == level1ElevatorEvent) {
      addElevatorEvent(geometry, *child);
    } else if (isFinishedEvent(child->name())) {
      sceneContainer->addEvent(
          std::make_unique<scene::event::FinishedEvent>(child->name(), child.get(), finishedFlag));
    }
  }
}

// The elevator sequence brings its own prizes: the ruby and the upgraded bat.
void Level::addElevatorEvent(Path& geometry, const scene::SceneObject& triggerNode) {
  auto& upgradedBat = sceneContainer->add(
      std::make_unique<scene::mesh::Bat>(&programs.bat, &programs.bat, soundSystem.get(), 1));
  auto& ruby =
      sceneContainer->add(std::make_unique<scene::mesh::Ruby>(&programs.ruby, &programs.shadowMap));
  sceneContainer->addEvent(std::make_unique<scene::event::Level1ElevatorEvent>(
      &triggerNode, geometry, physicsWorld, ruby, player(), *soundSystem, &programs.enemy,
      &programs.animatedShadowMap, *sceneContainer, upgradedBat));
}

void Level::update(double elapsedSeconds) {
  sceneContainer->update(elapsedSeconds);
}

void Level::draw() {
  sceneContainer->draw();
}

bool Level::cullingEnabled() const {
  return sceneContainer->cullingEnabled;
}

void Level::setCullingEnabled(bool on) {
  sceneContainer->cullingEnabled = on;
}

int Level::drawnObjects() const {
  return sceneContainer->drawnObjects();
}

void Level::drawWithoutShadows() {
  sceneContainer->drawWithoutShadows();
}

void Level::drawShadowMap() {
  sceneContainer->drawShadowMap();
}

const CasterBounds& Level::shadowCasters() const {
  return sceneContainer->shadowCasters();
}

void Level::resetPlayer() {
  player().reset();
}

void Level::rotateCamera(float pitchChange, float yawChange) {
  scene::mesh::Player& eye = player();
  eye.yaw -= yawChange;
  const float pitch = eye.pitch - pitchChange;
  if (pitch > -pitchLimit && pitch < pitchLimit) eye.pitch = pitch;
}

void Level::movePlayer(const glm::vec3& direction) {
  sceneContainer->movePlayer(direction);
}

void Level::jump() {
  physicsWorld.character()->jump();
}

void Level::swingBat() {
  player().bat()->swing();
}

LevelState Level::state() const {
  const scene::mesh::Player& eye = player();
  LevelState state;
  state.playerPosition = eye.position();
  state.yaw = eye.yaw;
  state.pitch = eye.pitch;
  state.onGround = physicsWorld.character()->onGround();
  state.batState = batStateName(eye.bat()->state());
  state.batVariant = eye.bat()->variant();
  for (const auto& object : sceneContainer->objects())
    if (const auto* enemy = dynamic_cast<const Enemy*>(object.get()))
      state.enemies.push_back(enemyState(*enemy));
  for (const auto& event : sceneContainer->events())
    if (event->triggered()) state.triggeredEvents.push_back(event->name());
  return state;
}

}  // namespace Vexa
