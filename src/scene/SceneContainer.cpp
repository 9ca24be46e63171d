#include "scene/SceneContainer.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "physic/CharacterBody.h"
#include "physic/PhysicsWorld.h"
#include "platform/Clock.h"
#include "render/GlCapability.h"
#include "render/Lighting.h"
#include "render/ShaderProgram.h"
#include "scene/mesh/Bat.h"
#include "scene/mesh/Hemisphere.h"
#include "scene/mesh/Hud.h"
#include "scene/mesh/Player.h"
#include "scene/mesh/Terrain.h"

namespace Vexa::scene {

SceneContainer::SceneContainer(std::unique_ptr<mesh::Player> player, std::unique_ptr<mesh::Bat> bat,
                               std::unique_ptr<mesh::Hemisphere> sky,
                               std::unique_ptr<mesh::Terrain> terrain,
                               std::unique_ptr<mesh::Hud> hud, PhysicsWorld* physicsWorld)
    : physicsWorld(physicsWorld),
      skyObject(std::move(sky)),
      hudObject(std::move(hud)),
      playerObject(player.get()) {
  addObject(std::move(player));
  addObject(std::move(bat));
  addObject(std::move(terrain));
}

// Events may point at objects, and later objects at earlier ones (an enemy at the
// level geometry it walks on), so each list goes from its back.
SceneContainer::~SceneContainer() {
  lightList.clear();
  while (!eventList.empty()) eventList.pop_back();
  while (!objectList.empty()) objectList.pop_back();
}

void SceneContainer::addObject(std::unique_ptr<MeshObject> object) {
  lightList.insert(lightList.end(), object->lights.begin(), object->lights.end());
  objectList.push_back(std::move(object));
}

Event& SceneContainer::addEvent(std::unique_ptr<Event> event) {
  eventList.push_back(std::move(event));
  return *eventList.back();
}

// The camera turns its axes as row vectors times the heading; the walk turns the
// same way, so that forward is where the player looks.
void SceneContainer::movePlayer(const glm::vec3& direction) {
  const glm::mat4 heading =
      glm::rotate(glm::mat4(1.0f), glm::radians(playerObject->yaw), glm::vec3(0.0f, 1.0f, 0.0f));
  physicsWorld->character()->walk(glm::vec3(glm::vec4(direction, 0.0f) * heading));
}

void SceneContainer::update(double elapsedSeconds) {
  const glm::vec3 playerPosition = physicsWorld->character()->position();
  skyObject->localMatrix =
      glm::translate(glm::mat4(1.0f), playerPosition) * skyObject->baseMatrix();
  updateEvents(elapsedSeconds, playerPosition);
  const glm::mat4 identity(1.0f);
  for (const auto& object : objectList) {
    if (!object->hidden) object->update(elapsedSeconds, identity, cameraMatrices, cullingEnabled);
  }
  hudObject->updateWithoutCamera(elapsedSeconds, identity);
  skyObject->update(elapsedSeconds, identity, cameraMatrices, cullingEnabled);
  cameraMatrices.projection = playerObject->projectionMatrix();
  cameraMatrices.view = playerObject->viewMatrix();
}

// Triggering is one-way: a triggered event runs every frame from then on, wherever
// the player goes.
void SceneContainer::updateEvents(double elapsedSeconds, const glm::vec3& playerPosition) {
  for (const auto& event : eventList) {
    if (event->check(playerPosition, eventHalfSize) && !event->triggered())
      event->trigger(Clock::now());
    if (event->triggered()) {
      event->run(elapsedSeconds);
      event->markRun();
    }
  }
}

// The casters are seen through the player's projection and the light's view;
// without a light the shadow programs keep whatever view they last had, so the
// casters may lie anywhere on the map.
void SceneContainer::drawShadowMap() {
  glClear(GL_DEPTH_BUFFER_BIT);
  const glm::mat4 lightView = Lighting::lightView();
  casterBounds.begin(cameraMatrices.projection * lightView);
  if (lightList.empty()) casterBounds.coverAll();
  for (const auto& object : objectList) {
    if (object->hidden) continue;
    if (object->program() && object->shadowProgram() && !lightList.empty()) {
      const GLuint id = object->shadowProgram()->programId();
      glUseProgram(id);
      glUniformMatrix4fv(glGetUniformLocation(id, "viewMatrix"), 1, GL_FALSE,
                         glm::value_ptr(lightView));
    }
    object->drawShadow();
    object->boundShadow(casterBounds, nullptr);
  }
}

void SceneContainer::draw() {
  drawObjects(true);
}

void SceneContainer::drawWithoutShadows() {
  drawObjects(false);
}

// The sky is drawn first and the depth cleared after it, so it is behind everything.
void SceneContainer::drawObjects(bool withShadows) {
  const CapabilityOff opaque(GL_BLEND);
  skyObject->draw();
  glClear(GL_DEPTH_BUFFER_BIT);
  if (withShadows) drawnCount = 0;
  const glm::mat4 shadowTexture = Lighting::shadowTextureMatrix(cameraMatrices.projection);
  for (const auto& object : objectList) {
    if (object->hidden || culled(*object)) continue;
    if (const ShaderProgram* program = object->program()) {
      glUseProgram(program->programId());
      if (!lightList.empty()) {
        const Light& sun = lightList.front();
        Lighting::loadLight(program->programId(), sun.diffuseColour, sun.specularColour);
        if (withShadows) Lighting::loadShadowTextureMatrix(program->programId(), shadowTexture);
      }
    }
    drawBlendedIf(object->translucent && opaque.wasEnabled(), *object);
    if (withShadows) ++drawnCount;
  }
  glDisable(GL_DEPTH_TEST);
  drawBlendedIf(opaque.wasEnabled(), *hudObject);
  glEnable(GL_DEPTH_TEST);
}

void SceneContainer::drawBlendedIf(bool blended, MeshObject& object) {
  if (blended) glEnable(GL_BLEND);
  object.draw();
  if (blended) glDisable(GL_BLEND);
}

bool SceneContainer::culled(const MeshObject& object) const {
  if (!cullingEnabled || !object.boundingCorners) return false;
  return outsideFrustum(cameraMatrices.projection * cameraMatrices.view * object.localMatrix,
                        *object.boundingCorners);
}

bool SceneContainer::outsideFrustum(const glm::mat4& modelViewProjection,
                                    const std::array<glm::vec4, 8>& corners) {
  std::array<int, 6> beyond{};
  for (const glm::vec4& corner : corners) {
    const glm::vec4 c = modelViewProjection * corner;
    beyond[0] += c.x > c.w;
    beyond[1] += c.x < -c.w;
    beyond[2] += c.y > c.w;
    beyond[3] += c.y < -c.w;
    beyond[4] += c.z > c.w;
    beyond[5] += c.z < -c.w;
  }
  for (const int count : beyond)
    if (count == 8) return true;
  return false;
}

}  // namespace Vexa::scene
