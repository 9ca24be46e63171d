#include "physic/PhysicsWorld.h"

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <BulletCollision/Gimpact/btGImpactCollisionAlgorithm.h>
#include <btBulletDynamicsCommon.h>

namespace Vexa {

PhysicsWorld::PhysicsWorld()
    : ghostPairCallback(std::make_unique<btGhostPairCallback>()),
      collisionConfiguration(
          std::make_unique<btDefaultCollisionConfiguration>(btDefaultCollisionConstructionInfo())),
      broadphase(std::make_unique<btAxisSweep3>(btVector3(-1500, -1500, -1500),
                                                btVector3(1500, 1500, 1500), 16384)),
      dispatcher(std::make_unique<btCollisionDispatcher>(collisionConfiguration.get())),
      solver(std::make_unique<btSequentialImpulseConstraintSolver>()) {
  btGImpactCollisionAlgorithm::registerAlgorithm(dispatcher.get());
  world = std::make_unique<btDiscreteDynamicsWorld>(dispatcher.get(), broadphase.get(),
                                                    solver.get(), collisionConfiguration.get());
  world->getDispatchInfo().m_allowedCcdPenetration = 1.0e-7f;
  // Without it the player's ghost object never learns what it overlaps.
  broadphase->getOverlappingPairCache()->setInternalGhostPairCallback(ghostPairCallback.get());
  world->setGravity(btVector3(0, -40, 0));
}

PhysicsWorld::~PhysicsWorld() = default;

void PhysicsWorld::step(float frameTime) {
  world->stepSimulation(frameTime, 6, 1.0f / 60.0f);
}

}  // namespace Vexa
