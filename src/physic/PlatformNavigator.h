#pragma once

#include <glm/vec3.hpp>
#include <optional>
#include <vector>

namespace Vexa {

class PhysicsWorld;
namespace physic {
class StaticRigidBody;
}

/// Picks an enemy's next walking target on its platform. It feels for the platform
/// with short vertical rays that must meet the platform body itself: it looks around
/// the enemy on a circle, picks a random heading among the directions with ground,
/// marches along it over the surface and returns a point short of where the ground
/// ends. It keeps no state between calls; random choices repeat within a calendar second.
class PlatformNavigator {
 public:
  explicit PlatformNavigator(PhysicsWorld& world);

  /// The next target for an enemy at `position`; `position` itself when nothing
  /// suitable exists (no platform, no ground around, no free arc, no heading that
  /// stays on the platform for its first few units).
  glm::vec3 nextTarget(const glm::vec3& position, const physic::StaticRigidBody* platform) const;

 private:
  struct Probe {
    bool ok;
    glm::vec3 normal;
  };
  struct Heading {
    glm::vec3 target;
    float arcLength;
  };
  struct Trace {
    glm::vec3 point;
    bool found;
  };
  struct Run {
    int count;
    float startAngle;
  };

  Probe probeGround(const glm::vec3& point, const physic::StaticRigidBody* platform) const;
  Heading chooseHeading(const glm::vec3& position, const physic::StaticRigidBody* platform) const;
  glm::vec3 wideRunTarget(const glm::vec3& position, const Run& run,
                          const physic::StaticRigidBody* platform) const;
  Heading candidateTarget(const glm::vec3& position, std::vector<Run> runs,
                          const physic::StaticRigidBody* platform) const;
  Trace tracePath(const glm::vec3& from, const glm::vec3& start,
                  const physic::StaticRigidBody* platform, bool bounded, float limit) const;
  glm::vec3 findEdgeMidpoint(const glm::vec3& from, const glm::vec3& current,
                             const physic::StaticRigidBody* platform, float limit) const;
  /// The first point without ground marching from `start` in steps of `step`, or
  /// nothing when the march ran past `limit` first.
  std::optional<glm::vec3> marchToEdge(const glm::vec3& start, const glm::vec3& step,
                                       const physic::StaticRigidBody* platform, float limit) const;

  PhysicsWorld& world;
};

}  // namespace Vexa
