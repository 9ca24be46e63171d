#pragma once

#include <glm/vec3.hpp>
#include <memory>
#include <optional>
#include <vector>

class btBroadphaseInterface;
class btCollisionConfiguration;
class btCollisionDispatcher;
class btCollisionObject;
class btConstraintSolver;
class btDiscreteDynamicsWorld;
class btGhostPairCallback;
class btPersistentManifold;

namespace Vexa {

class CharacterBody;
namespace physic {
class DynamicRigidBody;
class StaticRigidBody;
}  // namespace physic

/// The physics of one level: a Bullet dynamics world with `gravity` downwards, the
/// level's static and dynamic bodies and the player's character body. The
/// application creates one per level and destroys it after the level; everything
/// registered here is released with it.
class PhysicsWorld {
 public:
  /// Collision groups: static geometry never collides with static geometry, and
  /// the player's ghost meets only static and default (enemy) bodies.
  static constexpr int defaultFilter = 1;
  static constexpr int staticFilter = 2;
  static constexpr int characterFilter = 32;

  PhysicsWorld();
  ~PhysicsWorld();
  PhysicsWorld(const PhysicsWorld&) = delete;
  PhysicsWorld& operator=(const PhysicsWorld&) = delete;

  /// Downwards, in units per second per second.
  static constexpr float gravity = 40.0f;
  /// Length of one simulation sub-step, in seconds.
  static constexpr float fixedStep = 1.0f / 60.0f;
  static constexpr int maxSubSteps = 6;
  /// How far the player's aim reaches.
  static constexpr float pickReach = 5.5f;

  /// One frame: at most `maxSubSteps` sub-steps of `fixedStep`.
  void step(float frameTime);

  btDiscreteDynamicsWorld& dynamicsWorld() { return *world; }

  /// Adds `body` as a static collision object only, so the world never moves it.
  physic::StaticRigidBody& addStaticBody(std::unique_ptr<physic::StaticRigidBody> body);
  physic::DynamicRigidBody& addDynamicBody(std::unique_ptr<physic::DynamicRigidBody> body);
  /// Adds the player's ghost (group `characterFilter`, meeting static and default
  /// bodies) and its controller; the world keeps the body as `character()`.
  CharacterBody& addCharacter(std::unique_ptr<CharacterBody> body);

  /// Takes the character and every registered body out of the Bullet world; the
  /// bodies themselves live on until the world is destroyed.
  void removeAllBodies();

  /// Moves a static body (elevator, door) to `origin` soundly: its transform, its
  /// bounds in the broadphase, and it wakes every body that touches or overlaps it,
  /// so resting bodies ride along in the next step.
  void moveStaticBody(physic::StaticRigidBody& body, const glm::vec3& origin);

  /// Drops the pairs and contact caches of `object`, whose shape is about to change.
  void forgetPairs(btCollisionObject& object);

  /// The enemy on the player's aiming ray: `pickReach` from `eyeHeight` above the
  /// character's centre against `viewDirection` (which points back to the eye).
  /// Null when the nearest thing on the ray is not a registered dynamic body, when
  /// that body is already hit, or when there is no character.
  physic::DynamicRigidBody* pickDynamicBody(const glm::vec3& viewDirection) const;

  /// Whether `body` penetrates anything other than `ground`. Without a ground every
  /// penetrating contact counts.
  bool touchesOtherThan(const physic::DynamicRigidBody& body,
                        const physic::StaticRigidBody* ground) const;

  /// What a touch between the player and an enemy does. In float mode the first
  /// enemy touched (and not yet hit) is bowled over and marked hit: true, so the
  /// player plays its strong hit sound. Otherwise the player is knocked back: false.
  bool resolvePlayerContacts(CharacterBody& character);

  CharacterBody* character() const { return characterBody.get(); }
  const std::vector<std::unique_ptr<physic::StaticRigidBody>>& staticBodies() const {
    return staticBodyList;
  }
  const std::vector<std::unique_ptr<physic::DynamicRigidBody>>& dynamicBodies() const {
    return dynamicBodyList;
  }

  /// Level 2's jump mode: floating jumps, stronger air steering, enemies bowled over.
  bool floatMode = false;
  /// The level geometry's body, the platform enemies walk on; null in a level
  /// without geometry, which then offers no ground.
  physic::StaticRigidBody* groundBody = nullptr;

 private:
  /// The enemy body `object` belongs to, found through its user pointer; null for
  /// anything else (level geometry, the player's ghost).
  static physic::DynamicRigidBody* enemyOf(const btCollisionObject* object);
  /// The float-mode or knock-back answer to `manifold`, if it is a contact with an
  /// enemy not yet hit.
  std::optional<bool> resolveContact(CharacterBody& character, btPersistentManifold& manifold);

  // Declared so that each part outlives everything built on it; the Bullet world
  // goes first and takes its objects' broadphase entries with it.
  std::unique_ptr<btGhostPairCallback> ghostPairCallback;
  std::unique_ptr<btCollisionConfiguration> collisionConfiguration;
  std::unique_ptr<btBroadphaseInterface> broadphase;
  std::unique_ptr<btCollisionDispatcher> dispatcher;
  std::unique_ptr<btConstraintSolver> solver;
  std::vector<std::unique_ptr<physic::StaticRigidBody>> staticBodyList;
  std::vector<std::unique_ptr<physic::DynamicRigidBody>> dynamicBodyList;
  std::unique_ptr<CharacterBody> characterBody;
  std::unique_ptr<btDiscreteDynamicsWorld> world;
};

}  // namespace Vexa
