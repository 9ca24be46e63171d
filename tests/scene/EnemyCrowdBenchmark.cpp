// Measures what the game's simulation costs a frame without any drawing: the physics
// step and the level's update (enemies thinking, walking and animating, the player,
// the events), for level 1 as it is, with ten and a hundred times its enemies and
// with 1,000 enemies spread over its platforms. The clock runs at 60 frames a second of play, so
// the enemies behave as in the game whatever the machine's speed. Run it from the run-time folder,
// beside Shader/ and Resources/, with a display (xvfb-run).

#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/Window.h"
#include "physic/DynamicRigidBody.h"
#include "physic/PhysicsWorld.h"
#include "physic/StaticRigidBody.h"
#include "platform/Calendar.h"
#include "platform/Clock.h"
#include "scene/Level1.h"
#include "scene/LevelFiles.h"

namespace {

using namespace Vexa;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr double frameTime = 1.0 / 60.0;
constexpr int settlingFrames = 120;
constexpr int measuredFrames = 1200;
constexpr int levelEnemies = 6;
/// Level 1's ground lies within these bounds (x, z) and below this height.
constexpr float westEdge = -32.0f, eastEdge = 22.0f, northEdge = -205.0f, southEdge = 5.0f;
constexpr float skyHeight = 60.0f;
/// Enemies keep this far from the player's start, and start this far above the ground.
constexpr float playerClearance = 6.0f;
constexpr float spawnLift = 2.0f;

/// The top of the ground straight below (x, skyHeight, z), if there is ground.
bool groundBelow(PhysicsWorld& physics, float x, float z, glm::vec3& top) {
  const btVector3 from(x, skyHeight, z);
  const btVector3 to(x, -skyHeight, z);
  btCollisionWorld::ClosestRayResultCallback closest(from, to);
  physics.dynamicsWorld().rayTest(from, to, closest);
  if (!closest.hasHit() || closest.m_collisionObject != &physics.groundBody->rigidBody())
    return false;
  top = {x, closest.m_hitPointWorld.y(), z};
  return true;
}

/// At least `count` places on the ground, on a square grid made fine enough.
std::vector<glm::vec3> groundPlaces(PhysicsWorld& physics, std::size_t count) {
  std::vector<glm::vec3> places;
  for (float spacing = 8.0f; places.size() < count; spacing *= 0.95f) {
    places.clear();
    glm::vec3 top;
    for (float x = westEdge; x < eastEdge; x += spacing)
      for (float z = northEdge; z < southEdge; z += spacing)
        if (groundBelow(physics, x, z, top) &&
            glm::distance(top, playerStartPosition) > playerClearance)
          places.push_back(top + glm::vec3(0.0f, spawnLift, 0.0f));
  }
  places.resize(count);
  return places;
}

void addEnemies(Level& level, PhysicsWorld& physics, std::size_t count) {
  const std::vector<glm::vec3> places = groundPlaces(physics, count);
  for (std::size_t i = 0; i < count; ++i) level.spawnEnemy(i % 3, places[i], false);
}

double percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

void measure(int enemies) {
  long frame = 0;
  Clock::use([&frame] { return static_cast<double>(frame) * frameTime; });
  Calendar::use([&frame] { return 1700000000 + static_cast<std::time_t>(frame * frameTime); });
  PhysicsWorld physics;
  Level1 level(physics, Window::windowedWidth, Window::windowedHeight);
  addEnemies(level, physics, static_cast<std::size_t>(enemies - levelEnemies));
  std::vector<double> costs;
  for (; frame < settlingFrames + measuredFrames; ++frame) {
    const auto start = std::chrono::steady_clock::now();
    physics.step(static_cast<float>(frameTime));
    level.update(frameTime);
    if (frame >= settlingFrames)
      costs.push_back(Milliseconds(std::chrono::steady_clock::now() - start).count());
  }
  int asleep = 0;
  for (const auto& body : physics.dynamicBodies()) asleep += body->rigidBody().isActive() ? 0 : 1;
  std::printf(
      "%4d enemies (%5.1fx): median %.3f ms, 95th percentile %.3f ms a frame; %d asleep at the "
      "end\n",
      enemies, static_cast<double>(enemies) / levelEnemies, percentile(costs, 0.5),
      percentile(costs, 0.95), asleep);
  Clock::use(nullptr);
  Calendar::use(nullptr);
}

}  // namespace

int main() {
  const Window window(WindowMode::Windowed, false);
  std::printf("Level 1, physics step and level update, %d frames after %d to settle:\n",
              measuredFrames, settlingFrames);
  for (const int enemies : {levelEnemies, 10 * levelEnemies, 100 * levelEnemies, 1000})
    measure(enemies);
  return 0;
}
