#include "physic/PhysicsWorld.h"

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <BulletCollision/Gimpact/btGImpactCollisionAlgorithm.h>
#include <BulletDynamics/Character/btKinematicCharacterController.h>
#include <btBulletDynamicsCommon.h>

#include "physic/BulletConversions.h"
#include "physic/CharacterBody.h"
#include "physic/DynamicRigidBody.h"
#include "physic/StaticRigidBody.h"

namespace Vexa {

using physic::toBullet;
using physic::toGlm;

namespace {

constexpr int allButStatic = ~PhysicsWorld::staticFilter;
constexpr int staticAndDefault = PhysicsWorld::staticFilter | PhysicsWorld::defaultFilter;
constexpr float bowlingStrength = 60.0f;
constexpr btScalar floatContactBreakingThreshold = 10000.0f;

// Bullet reports a manifold's first contact and the loss of its last one (the
// manifold's release included) for every world; the enemy bodies among its two
// objects keep it, so that their touch tests read their own manifolds only.
template <void (physic::DynamicRigidBody::*note)(const btPersistentManifold&)>
void tellBodies(btPersistentManifold* const& manifold) {
  for (const btCollisionObject* object : {manifold->getBody0(), manifold->getBody1()}) {
    auto* owner = object ? physic::RigidBody::owning(*object) : nullptr;
    if (auto* body = dynamic_cast<physic::DynamicRigidBody*>(owner)) (body->*note)(*manifold);
  }
}

}  // namespace

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
  world->setGravity(btVector3(0, -gravity, 0));
  gContactStartedCallback = tellBodies<&physic::DynamicRigidBody::manifoldStarted>;
  gContactEndedCallback = tellBodies<&physic::DynamicRigidBody::manifoldEnded>;
}

PhysicsWorld::~PhysicsWorld() = default;

void PhysicsWorld::step(float frameTime) {
  world->stepSimulation(frameTime, maxSubSteps, fixedStep);
}

// Flagged static and asleep, as Bullet keeps its own fixed bodies, the body joins
// no simulation island: enemies resting on it sleep on their own instead of keeping
// each other awake, and a sleeping enemy's contacts with it are not recomputed.
physic::StaticRigidBody& PhysicsWorld::addStaticBody(
    std::unique_ptr<physic::StaticRigidBody> body) {
  btRigidBody& rigid = body->rigidBody();
  rigid.setCollisionFlags(rigid.getCollisionFlags() | btCollisionObject::CF_STATIC_OBJECT);
  rigid.setActivationState(ISLAND_SLEEPING);
  world->addCollisionObject(&rigid, staticFilter, allButStatic);
  staticBodyList.push_back(std::move(body));
  return *staticBodyList.back();
}

physic::DynamicRigidBody& PhysicsWorld::addDynamicBody(
    std::unique_ptr<physic::DynamicRigidBody> body) {
  world->addRigidBody(&body->rigidBody());
  dynamicBodyList.push_back(std::move(body));
  return *dynamicBodyList.back();
}

CharacterBody& PhysicsWorld::addCharacter(std::unique_ptr<CharacterBody> body) {
  world->addCollisionObject(&body->ghostObject(), characterFilter, staticAndDefault);
  world->addAction(&body->characterController());
  characterBody = std::move(body);
  return *characterBody;
}

void PhysicsWorld::removeAllBodies() {
  if (characterBody) {
    world->removeCollisionObject(&characterBody->ghostObject());
    world->removeAction(&characterBody->characterController());
  }
  for (const auto& body : dynamicBodyList) world->removeRigidBody(&body->rigidBody());
  for (const auto& body : staticBodyList) world->removeCollisionObject(&body->rigidBody());
}

void PhysicsWorld::moveStaticBody(physic::StaticRigidBody& body, const glm::vec3& origin) {
  btRigidBody& rigid = body.rigidBody();
  btTransform transform = rigid.getWorldTransform();
  transform.setOrigin(toBullet(origin));
  rigid.setWorldTransform(transform);
  rigid.setInterpolationWorldTransform(transform);
  rigid.getMotionState()->setWorldTransform(transform);
  world->updateSingleAabb(&rigid);
  // Moving the bounds has updated the broadphase's pairs: everything overlapping
  // the body now, resting or newly reached, must take part in the next step.
  const btBroadphaseProxy* proxy = rigid.getBroadphaseHandle();
  btBroadphasePairArray& pairs = broadphase->getOverlappingPairCache()->getOverlappingPairArray();
  for (int i = 0; i < pairs.size(); ++i) {
    const btBroadphasePair& pair = pairs[i];
    if (pair.m_pProxy0 != proxy && pair.m_pProxy1 != proxy) continue;
    const btBroadphaseProxy* other = pair.m_pProxy0 == proxy ? pair.m_pProxy1 : pair.m_pProxy0;
    static_cast<btCollisionObject*>(other->m_clientObject)->activate(true);
  }
}

void PhysicsWorld::forgetPairs(btCollisionObject& object) {
  if (object.getBroadphaseHandle() == nullptr) return;
  broadphase->getOverlappingPairCache()->cleanProxyFromPairs(object.getBroadphaseHandle(),
                                                             dispatcher.get());
}

physic::DynamicRigidBody* PhysicsWorld::pickDynamicBody(const glm::vec3& viewDirection) const {
  if (!characterBody) return nullptr;
  const glm::vec3 start = characterBody->position() + glm::vec3(0.0f, eyeHeight, 0.0f);
  const glm::vec3 end = start - pickReach * viewDirection;
  btCollisionWorld::ClosestRayResultCallback closest(toBullet(start), toBullet(end));
  world->rayTest(toBullet(start), toBullet(end), closest);
  if (!closest.hasHit()) return nullptr;
  physic::DynamicRigidBody* target = enemyOf(closest.m_collisionObject);
  return target != nullptr && !target->hit ? target : nullptr;
}

bool PhysicsWorld::touchesOtherThan(const physic::DynamicRigidBody& body,
                                    const physic::StaticRigidBody* ground) const {
  const btCollisionObject* self = &body.rigidBody();
  const btCollisionObject* groundObject = ground != nullptr ? &ground->rigidBody() : nullptr;
  for (const btPersistentManifold* manifold : body.contactManifolds()) {
    const btCollisionObject* other =
        manifold->getBody0() == self ? manifold->getBody1() : manifold->getBody0();
    if (other == groundObject) continue;
    for (int p = 0; p < manifold->getNumContacts(); ++p)
      if (manifold->getContactPoint(p).getDistance() < 0.0f) return true;
  }
  return false;
}

bool PhysicsWorld::resolvePlayerContacts(CharacterBody& character) {
  btOverlappingPairCache& worldPairs = *broadphase->getOverlappingPairCache();
  btBroadphasePairArray& ghostPairs =
      character.ghostObject().getOverlappingPairCache()->getOverlappingPairArray();
  btManifoldArray manifolds;
  for (int i = 0; i < ghostPairs.size(); ++i) {
    btBroadphasePair* pair = worldPairs.findPair(ghostPairs[i].m_pProxy0, ghostPairs[i].m_pProxy1);
    if (pair == nullptr || pair->m_algorithm == nullptr) continue;
    manifolds.clear();
    pair->m_algorithm->getAllContactManifolds(manifolds);
    for (int m = 0; m < manifolds.size(); ++m)
      if (const std::optional<bool> answer = resolveContact(character, *manifolds[m]))
        return *answer;
  }
  return false;
}

std::optional<bool> PhysicsWorld::resolveContact(CharacterBody& character,
                                                 btPersistentManifold& manifold) {
  physic::DynamicRigidBody* enemy = enemyOf(manifold.getBody1());
  if (enemy == nullptr) enemy = enemyOf(manifold.getBody0());
  if (enemy == nullptr || enemy->hit) return std::nullopt;
  // A touch in float mode must not be lost to the player moving on.
  if (floatMode) manifold.setContactBreakingThreshold(floatContactBreakingThreshold);
  if (manifold.getNumContacts() == 0) return std::nullopt;
  const glm::vec3 normal = toGlm(manifold.getContactPoint(0).m_normalWorldOnB);
  if (floatMode) {
    enemy->applyHit(bowlingStrength, glm::vec3(-normal.x, 0.5f - normal.y, -normal.z));
    return true;
  }
  character.knockBack(normal);
  return false;
}

physic::DynamicRigidBody* PhysicsWorld::enemyOf(const btCollisionObject* object) {
  if (object == nullptr) return nullptr;
  return dynamic_cast<physic::DynamicRigidBody*>(physic::RigidBody::owning(*object));
}

}  // namespace Vexa
