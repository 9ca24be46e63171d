#pragma once

#include <glm/vec3.hpp>
#include <memory>
#include <optional>

class btCapsuleShape;
class btKinematicCharacterController;
class btPairCachingGhostObject;

namespace Vexa {

class PhysicsWorld;

/// A character's capsule and the step it climbs.
struct CapsuleSize {
  double radius;
  /// Between the hemisphere centres.
  double height;
  double stepHeight;

  /// Height of the capsule's centre above the ground it stands on.
  constexpr double standingHeight() const { return radius + height / 2.0; }
};

/// The player's capsule.
inline constexpr CapsuleSize playerCapsule{2.0, 1.75, 0.35};
/// The player's eye sits this far above the capsule's centre.
inline constexpr float eyeHeight = 0.5f;

/// The player's body: a capsule ghost moved by Bullet's kinematic character
/// controller, with the game's knock-back and float jump laid over the walk.
/// `PhysicsWorld::addCharacter` puts it into the world.
class CharacterBody {
 public:
  /// A walk in the air is scaled by this, in float mode by `floatAirScale`.
  static constexpr float airScale = 0.9f;
  static constexpr float floatAirScale = 2.5f;
  /// A knock-back's push is lifted by this.
  static constexpr float knockLift = 0.5f;
  /// A knock-back lasts at least this long, in seconds; it ends on the next landing.
  static constexpr float knockMinimumSeconds = 1.0f;
  /// The gravity after a knock-back or a landed float, for the rest of the level.
  static constexpr float landedGravity = 40.0f;

  /// A capsule of `size` standing at `start`. Place it clear of geometry: a capsule
  /// born overlapping the ground stays embedded.
  CharacterBody(const glm::vec3& start, PhysicsWorld& owner, const CapsuleSize& size);
  ~CharacterBody();
  CharacterBody(const CharacterBody&) = delete;
  CharacterBody& operator=(const CharacterBody&) = delete;

  /// The displacement wanted per simulation step, in world axes. In the air it is
  /// scaled by `airScale` or `floatAirScale`; a knock-back or float jump adds its push.
  void walk(const glm::vec3& displacement);
  /// Float mode: starts (or restarts) a float. Otherwise a jump from the ground,
  /// refused while a knock-back lasts.
  void jump();
  /// Places the capsule at `position`, stops the walk and clears the vertical speed.
  void warp(const glm::vec3& position);

  /// An enemy touched the player: a push along the contact `normal`, lifted by
  /// `knockLift`, that decays and ends on a landing after `knockMinimumSeconds`;
  /// `landedGravity` from now on.
  void knockBack(const glm::vec3& normal);
  /// Forgets any knock-back or float (a respawn). The gravity a knock-back left
  /// stays; a float's weightlessness ends as a landing would end it.
  void clearKnock();

  /// Centre of the capsule.
  glm::vec3 position() const;
  bool onGround() const;
  /// The last walk request was not zero.
  bool isMoving() const { return moving; }
  /// The push of the current knock-back or float (zero when none).
  const glm::vec3& knock() const { return knockVector; }
  bool knockInProgress() const { return knockStartTime.has_value(); }

  btPairCachingGhostObject& ghostObject() const { return *ghost; }
  btKinematicCharacterController& characterController() const { return *controller; }

 private:
  void placeUpright(const glm::vec3& position);
  /// Seconds into the knock-back, or relative to a float's turning point.
  float knockPhase() const;
  glm::vec3 knockPush(float phase) const;
  bool floatSinking(float phase) const;
  /// Lowers the capsule by `depth` in each simulation step until it lands, adding
  /// to `walkDisplacement` what the fall cannot take.
  void sink(float depth, glm::vec3& walkDisplacement);
  /// Sets the controller falling by `depthPerStep` each simulation step.
  void fall(float depthPerStep);
  void endKnockOnLanding(float phase);
  /// The gravity of a landed float or a knock-back, for the rest of the level.
  void land();

  PhysicsWorld& owner;
  std::unique_ptr<btCapsuleShape> capsule;
  std::unique_ptr<btPairCachingGhostObject> ghost;
  std::unique_ptr<btKinematicCharacterController> controller;
  bool moving = false;
  glm::vec3 knockVector{0.0f};
  /// Clock reading when the current knock-back or float began; empty when none.
  std::optional<double> knockStartTime;
  /// A float's near-zero gravity is in force.
  bool floating = false;
};

}  // namespace Vexa
