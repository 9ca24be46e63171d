#include "Pilot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>

#include "app/Controls.h"

namespace Vexa::bot {

namespace {

/// Degrees the view turns per pixel of mouse motion.
constexpr float degreesPerPixel = 1.0f / Controls::pixelsPerDegree;

/// Turns smaller than this are let be, as a hand would, rather than dithered.
constexpr float steadyHand = 0.5f;

int pixelsFor(float degrees) {
  if (std::abs(degrees) < steadyHand) return 0;
  const float turn = std::clamp(degrees, -Pilot::maxTurn, Pilot::maxTurn);
  return static_cast<int>(std::lround(turn / degreesPerPixel));
}

/// The keys' ways of walking, by their angle from where the view looks
/// (positive to the right).
struct KeyWay {
  float angle;
  std::set<Key> keys;
};
const std::array<KeyWay, 8> keyWays{{{0.0f, {Key::W}},
                                     {45.0f, {Key::W, Key::D}},
                                     {90.0f, {Key::D}},
                                     {135.0f, {Key::S, Key::D}},
                                     {180.0f, {Key::S}},
                                     {-135.0f, {Key::S, Key::A}},
                                     {-90.0f, {Key::A}},
                                     {-45.0f, {Key::W, Key::A}}}};

}  // namespace

float yawTowards(const glm::vec3& from, const glm::vec3& to) {
  return glm::degrees(std::atan2(to.x - from.x, -(to.z - from.z)));
}

float pitchTowards(const glm::vec3& eye, const glm::vec3& point) {
  return glm::degrees(std::atan2(eye.y - point.y, horizontalDistance(eye, point)));
}

float turnBetween(float from, float to) {
  const float turn = std::fmod(to - from + 180.0f, 360.0f);
  return (turn < 0.0f ? turn + 360.0f : turn) - 180.0f;
}

glm::vec2 directionOfYaw(float degrees) {
  const float radians = glm::radians(degrees);
  return {std::sin(radians), -std::cos(radians)};
}

void Pilot::look(float yaw, float pitch) {
  mouseX = pixelsFor(turnBetween(view.yaw, yaw));
  mouseY = pixelsFor(pitch - view.pitch);
}

float Pilot::yawAfterTurn() const {
  return view.yaw + static_cast<float>(mouseX) * degreesPerPixel;
}

void Pilot::move(const glm::vec2& direction) {
  if (glm::length(direction) < 1e-4f) {
    stop();
    return;
  }
  const float wanted =
      turnBetween(yawAfterTurn(), glm::degrees(std::atan2(direction.x, -direction.y)));
  const auto closest =
      std::min_element(keyWays.begin(), keyWays.end(), [wanted](const KeyWay& a, const KeyWay& b) {
        return std::abs(turnBetween(a.angle, wanted)) < std::abs(turnBetween(b.angle, wanted));
      });
  walkKeys = closest->keys;
}

replay::FrameInput Pilot::input() const {
  replay::FrameInput frame;
  frame.keys = walkKeys;
  if (jumps) frame.keys.insert(Key::Space);
  if (escapes) frame.keys.insert(Key::Escape);
  frame.mouseButton = swings;
  frame.mouseX = mouseX;
  frame.mouseY = mouseY;
  return frame;
}

}  // namespace Vexa::bot
