#pragma once

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include "BotView.h"
#include "Replay.h"
#include "platform/Geometry.h"

namespace Vexa::bot {

/// Bearing in degrees, as the game counts yaw, of the horizontal way from `from` to `to`.
float yawTowards(const glm::vec3& from, const glm::vec3& to);
/// Pitch in degrees (positive looks down) of the line from `eye` to `point`.
float pitchTowards(const glm::vec3& eye, const glm::vec3& point);
/// `to` - `from` wrapped into [-180, 180).
float turnBetween(float from, float to);
/// The horizontal unit direction (x, z) the view looks along at the yaw `degrees`.
glm::vec2 directionOfYaw(float degrees);

/// A player's hands for one frame: the bot says where to look and which way to
/// go, the pilot turns that into the keys and the mouse motion the game reads.
class Pilot {
 public:
  /// The turn one frame of mouse motion may make, in degrees.
  static constexpr float maxTurn = 15.0f;

  explicit Pilot(const BotView& view) : view(view) {}

  /// Turns towards the yaw and pitch (degrees), as far as one frame's turn goes.
  void look(float yaw, float pitch);
  void lookAt(const glm::vec3& point) {
    look(yawTowards(view.eye(), point), pitchTowards(view.eye(), point));
  }
  /// Holds the movement keys that go closest to the horizontal `direction` (x, z),
  /// given where the view will point after this frame's turn.
  void move(const glm::vec2& direction);
  void forward() { walkKeys = {Key::W}; }
  void stop() { walkKeys.clear(); }
  void jump() { jumps = true; }
  void swing() { swings = true; }
  void escape() { escapes = true; }

  /// The yaw after this frame's turn.
  float yawAfterTurn() const;
  replay::FrameInput input() const;

 private:
  const BotView& view;
  int mouseX = 0;
  int mouseY = 0;
  std::set<Key> walkKeys;
  bool jumps = false;
  bool swings = false;
  bool escapes = false;
};

}  // namespace Vexa::bot
