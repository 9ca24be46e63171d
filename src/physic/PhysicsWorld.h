#pragma once

#include <memory>

class btBroadphaseInterface;
class btCollisionConfiguration;
class btCollisionDispatcher;
class btConstraintSolver;
class btDiscreteDynamicsWorld;
class btGhostPairCallback;

namespace Vexa {

/// The physics of one level: a Bullet dynamics world with gravity 40 downwards.
/// The application creates one per level and destroys it after the level.
class PhysicsWorld {
 public:
  PhysicsWorld();
  ~PhysicsWorld();
  PhysicsWorld(const PhysicsWorld&) = delete;
  PhysicsWorld& operator=(const PhysicsWorld&) = delete;

  /// One frame: at most 6 fixed sub-steps of 1/60 s.
  void step(float frameTime);

  btDiscreteDynamicsWorld& dynamicsWorld() { return *world; }

  /// Level 2's jump mode: floating jumps, stronger air steering, enemies bowled over.
  bool floatMode = false;

 private:
  // Declared so that each part outlives everything built on it.
  std::unique_ptr<btGhostPairCallback> ghostPairCallback;
  std::unique_ptr<btCollisionConfiguration> collisionConfiguration;
  std::unique_ptr<btBroadphaseInterface> broadphase;
  std::unique_ptr<btCollisionDispatcher> dispatcher;
  std::unique_ptr<btConstraintSolver> solver;
  std::unique_ptr<btDiscreteDynamicsWorld> world;
};

}  // namespace Vexa
