#include "physic/PlatformNavigator.h"

#include <btBulletDynamicsCommon.h>

#include <cmath>
#include <glm/geometric.hpp>
#include <iostream>

#include "physic/BulletConversions.h"
#include "physic/PhysicsWorld.h"
#include "physic/StaticRigidBody.h"
#include "platform/Calendar.h"
#include "platform/Geometry.h"

namespace Vexa {

namespace {

constexpr float minArcDegrees = 20.0f;
constexpr float edgeDistance = 5.0f;
constexpr float probeRadius = 4.0f;
constexpr float angleStep = 5.0f;
constexpr float marchStep = 0.1f;
constexpr float probeDepth = 8.0f;
constexpr float segmentLength = 5.0f;
constexpr float refineStep = 0.5f;
constexpr float probeHeadroom = 2.0f;
constexpr float fallbackLimit = 8.0f;
constexpr float radiansPerDegree = 0.017453292f;

/// A whole number of degrees in [a, b), drawn from the generator reseeded with the
/// calendar second. An arc that rounds to nothing yields its start.
float randomAngleInArc(float a, float b) {
  const int span = static_cast<int>(std::round(b - a));
  const int base = static_cast<int>(std::round(a));
  if (span == 0) return static_cast<float>(base);
  return static_cast<float>(Calendar::reseededRand() % span + base);
}

glm::vec3 circlePoint(const glm::vec3& centre, float degrees, float radius) {
  const double radians = static_cast<double>(degrees) * M_PI / 180.0;
  return {static_cast<float>(centre.x + std::cos(radians) * radius), centre.y,
          static_cast<float>(centre.z + std::sin(radians) * radius)};
}

glm::vec3 horizontalDirection(const glm::vec3& from, const glm::vec3& to) {
  return glm::normalize(glm::vec3(to.x - from.x, 0.0f, to.z - from.z));
}

float width(int count) {
  return static_cast<float>(count) * angleStep;
}

float oneDecimalDown(float value) {
  return std::floor(10.0f * value) / 10.0f;
}

/// Tilts the march direction by `radians` to follow a change of slope: about the x
/// axis unless the surface leans towards +x, else about the z axis unless it also
/// leans towards +z, which the march cannot follow and reports.
glm::vec3 followSlope(const glm::vec3& dir, const glm::vec3& up, float radians) {
  const float c = std::cos(radians);
  const float s = std::sin(radians);
  if (oneDecimalDown(up.x) <= 0.0f) return {dir.x, dir.y * c - dir.z * s, dir.z * c + dir.y * s};
  if (oneDecimalDown(up.z) <= 0.0f) return {dir.x * c - dir.y * s, dir.x * s + dir.y * c, dir.z};
  std::cout << "sloping platform detected: " << oneDecimalDown(up.x) << ' ' << up.y << ' '
            << oneDecimalDown(up.z) << '\n';
  return dir;
}

}  // namespace

PlatformNavigator::PlatformNavigator(PhysicsWorld& world) : world(world) {}

glm::vec3 PlatformNavigator::nextTarget(const glm::vec3& position,
                                        const physic::StaticRigidBody* platform) const {
  const Heading heading = chooseHeading(position, platform);
  if (heading.target == position) return position;
  const float limit = heading.arcLength != 0.0f ? heading.arcLength : fallbackLimit;
  return tracePath(position, heading.target, platform, /*bounded=*/false, limit).point;
}

PlatformNavigator::Probe PlatformNavigator::probeGround(
    const glm::vec3& point, const physic::StaticRigidBody* platform) const {
  if (platform == nullptr) return {false, {}};
  const btVector3 from(point.x, point.y - probeDepth, point.z);
  const btVector3 to(point.x, point.y + probeHeadroom, point.z);
  btCollisionWorld::ClosestRayResultCallback closest(from, to);
  world.dynamicsWorld().rayTest(from, to, closest);
  if (!closest.hasHit() || closest.m_collisionObject != &platform->rigidBody()) return {false, {}};
  return {true, physic::toGlm(closest.m_hitNormalWorld)};
}

PlatformNavigator::Heading PlatformNavigator::chooseHeading(
    const glm::vec3& position, const physic::StaticRigidBody* platform) const {
  std::vector<Run> runs;
  bool previousOk = false;
  for (float angle = 0.0f; angle < 360.0f; angle += angleStep) {
    const bool ok = probeGround(circlePoint(position, angle, probeRadius), platform).ok;
    if (ok && !previousOk) runs.push_back({0, angle});
    if (ok) ++runs.back().count;
    previousOk = ok;
  }
  if (runs.empty()) return {position, 0.0f};
  if (runs.size() == 1 && width(runs.front().count) > 90.0f)
    return {wideRunTarget(position, runs.front(), platform), 0.0f};
  return candidateTarget(position, std::move(runs), platform);
}

// Ground all around draws any whole degree. Any other wide run keeps half the
// narrowest free arc clear of the run's first and last probe, so the heading has
// ground on both sides.
glm::vec3 PlatformNavigator::wideRunTarget(const glm::vec3& position, const Run& run,
                                           const physic::StaticRigidBody* platform) const {
  const float runWidth = width(run.count);
  const float heading =
      runWidth >= 360.0f
          ? randomAngleInArc(0.0f, runWidth)
          : randomAngleInArc(run.startAngle + minArcDegrees / 2,
                             run.startAngle + runWidth - angleStep - minArcDegrees / 2);
  const glm::vec3 onCircle = circlePoint(position, heading, probeRadius);
  const Trace trace = tracePath(position, onCircle, platform, /*bounded=*/true, -1.0f);
  return trace.found ? trace.point : position;
}

PlatformNavigator::Heading PlatformNavigator::candidateTarget(
    const glm::vec3& position, std::vector<Run> runs,
    const physic::StaticRigidBody* platform) const {
  // A run that ends at 360 continues in the run that starts at 0.
  const Run& last = runs.back();
  if (runs.size() > 1 && runs.front().startAngle == 0.0f &&
      width(last.count) + last.startAngle == 360.0f) {
    runs.back().count += runs.front().count;
    runs.erase(runs.begin());
  }
  std::vector<Run> candidates;
  for (const Run& run : runs)
    if (width(run.count) >= minArcDegrees) candidates.push_back(run);
  while (!candidates.empty()) {
    const auto pick = static_cast<std::size_t>(Calendar::reseededRand()) % candidates.size();
    const float arcWidth = width(candidates[pick].count);
    const float centre = candidates[pick].startAngle + arcWidth / 2;
    const float arcLength = probeRadius * static_cast<float>(pi) * arcWidth / 180.0f;
    const glm::vec3 onCircle = circlePoint(position, centre, probeRadius);
    const Trace trace = tracePath(position, onCircle, platform, /*bounded=*/true, arcLength);
    if (trace.found) return {trace.point, arcLength};
    candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(pick));
  }
  return {position, 0.0f};
}

// Marches from `start` away from `from` in steps of `marchStep`, tilting with the
// surface. Bounded, it stops `edgeDistance` out and tells whether the ground lasted;
// unbounded, it runs to the end of the ground and returns a point half `limit` back.
// Long marches re-aim at the middle of the platform's width every `segmentLength`.
PlatformNavigator::Trace PlatformNavigator::tracePath(const glm::vec3& from, const glm::vec3& start,
                                                      const physic::StaticRigidBody* platform,
                                                      bool bounded, float limit) const {
  glm::vec3 dir = horizontalDirection(from, start);
  glm::vec3 current = start;
  float reaimDistance = segmentLength * 1.2f;
  glm::vec3 previousUp(0.0f, -1.0f, 0.0f);
  glm::vec3 normal(0.0f, 1.0f, 0.0f);
  bool found = true;
  while (true) {
    const glm::vec3 up = -normal;
    const float angle = std::acos(glm::dot(previousUp, up)) * 180.0f / static_cast<float>(pi);
    if (std::isnan(angle)) break;
    if (angle != 0.0f && angle != 180.0f) dir = followSlope(dir, up, -angle * radiansPerDegree);
    previousUp = up;
    current += dir * marchStep;
    const float distance = horizontalDistance(from, current);
    if (bounded && distance >= edgeDistance) {
      current = findEdgeMidpoint(from, current, platform, limit);
      break;
    }
    if (distance > reaimDistance) {
      current = findEdgeMidpoint(from, current, platform, limit);
      reaimDistance += segmentLength;
      dir = horizontalDirection(from, current);
    }
    const Probe probe = probeGround(current, platform);
    if (!probe.ok) {
      found = false;
      break;
    }
    normal = probe.normal;
  }
  if (bounded) return {current, found};
  return {current - dir * limit * 0.5f, found};
}

glm::vec3 PlatformNavigator::findEdgeMidpoint(const glm::vec3& from, const glm::vec3& current,
                                              const physic::StaticRigidBody* platform,
                                              float limit) const {
  const glm::vec3 dir = horizontalDirection(from, current);
  const glm::vec3 sideways(-dir.z, 0.0f, dir.x);
  const std::optional<glm::vec3> forward =
      marchToEdge(current, sideways * refineStep, platform, limit);
  if (!forward) return current;
  const std::optional<glm::vec3> backward =
      marchToEdge(current, -sideways * refineStep, platform, limit);
  if (!backward) return current;
  return (*forward + *backward) * 0.5f;
}

std::optional<glm::vec3> PlatformNavigator::marchToEdge(const glm::vec3& start,
                                                        const glm::vec3& step,
                                                        const physic::StaticRigidBody* platform,
                                                        float limit) const {
  glm::vec3 point = start;
  float travelled = 0.0f;
  bool ok = true;
  while (ok && (travelled == 0.0f || travelled < limit)) {
    point += step;
    ok = probeGround(point, platform).ok;
    travelled += refineStep;
  }
  if (travelled > limit) return std::nullopt;
  return point;
}

}  // namespace Vexa
