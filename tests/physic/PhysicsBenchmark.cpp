// Measures the physics of a busy level: simulation steps per second with enemies
// on a large level mesh, kept awake or free to fall asleep at rest, and aiming or
// probing rays per second.

#include <btBulletDynamicsCommon.h>

#include <chrono>
#include <cstdio>

#include "physic/PhysicsScenery.h"

namespace {

using Vexa::PhysicsWorld;
using Vexa::test::PhysicsScenery;
using Seconds = std::chrono::duration<double>;

constexpr int enemyCount = 100;

void addLevel(PhysicsWorld& world) {
  world.addStaticBody(
      std::make_unique<Vexa::physic::StaticRigidBody>(PhysicsScenery::terrain(128, 256.0f), true));
}

void addEnemies(PhysicsWorld& world, bool keptAwake) {
  for (int i = 0; i < enemyCount; ++i) {
    const float x = static_cast<float>(i % 10) * 12.0f - 54.0f;
    const float z = static_cast<float>(i / 10) * 12.0f - 54.0f;
    Vexa::physic::DynamicRigidBody& enemy = PhysicsScenery::addEnemy(world, {x, 2.5f, z});
    if (keptAwake) enemy.rigidBody().setActivationState(DISABLE_DEACTIVATION);
  }
}

double stepsPerSecond(PhysicsWorld& world) {
  PhysicsScenery::run(world, 300);  // let them land, and those free to, fall asleep
  const int steps = 2000;
  const auto start = std::chrono::steady_clock::now();
  PhysicsScenery::run(world, steps);
  return steps / Seconds(std::chrono::steady_clock::now() - start).count();
}

double raysPerSecond(PhysicsWorld& world) {
  const int rays = 200000;
  int hits = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rays; ++i) {
    const float x = static_cast<float>(i % 250) - 125.0f;
    const float z = static_cast<float>((i / 250) % 250) - 125.0f;
    const btVector3 from(x, 25.0f, z);
    const btVector3 to(x + 10.0f, -24.0f, z);
    btCollisionWorld::ClosestRayResultCallback closest(from, to);
    world.dynamicsWorld().rayTest(from, to, closest);
    hits += closest.hasHit() ? 1 : 0;
  }
  const double perSecond = rays / Seconds(std::chrono::steady_clock::now() - start).count();
  std::printf("ray hits: %d of %d\n", hits, rays);
  return perSecond;
}

}  // namespace

int main() {
  for (const bool keptAwake : {true, false}) {
    PhysicsWorld world;
    addLevel(world);
    addEnemies(world, keptAwake);
    const double steps = stepsPerSecond(world);
    int asleep = 0;
    for (const auto& body : world.dynamicBodies()) asleep += body->rigidBody().isActive() ? 0 : 1;
    std::printf(
        "%d enemies %s (%d asleep) on 32768 triangles: %.0f steps per second (%.3f ms "
        "per step)\n",
        enemyCount, keptAwake ? "kept awake" : "free to sleep", asleep, steps, 1000.0 / steps);
    if (keptAwake) std::printf("50-unit rays: %.0f ray tests per second\n", raysPerSecond(world));
  }
  return 0;
}
