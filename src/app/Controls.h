#pragma once

namespace Vexa {

class Input;
class Level;
class PhysicsWorld;

/// Turns the polled keyboard and mouse into calls on the level once per frame,
/// and keeps the debug toggles, which survive level switches.
class Controls {
 public:
  /// Movement per held key; a single key's vector is exactly this long.
  static constexpr float moveStep = 0.29999998f;
  /// Pixels of mouse motion that turn the view by one degree.
  static constexpr float pixelsPerDegree = 5.0f;
  /// Seconds that must pass (strictly) between two accepted toggle keys.
  static constexpr double toggleDelay = 0.3;

  /// Takes the cursor's current position as the reference for mouse motion; so
  /// does the first frame after the window regains focus.
  explicit Controls(const Input& input);

  /// Every frame, focused or not: without focus nothing acts.
  void processInput(double frameTimeSeconds, Level& level, PhysicsWorld& physics);

  bool wireframe() const { return wireframeOn; }
  /// The culling toggle the caption shows. Pressing it switches the current level's
  /// culling to match; a new level starts culling whatever the toggle shows.
  bool frustumCulling() const { return frustumCullingOn; }
  bool showStatistics() const { return showStatisticsOn; }
  bool blending() const { return blendingOn; }

 private:
  void move(Level& level) const;
  void look(Level& level, bool regainedFocus);
  bool toggle(Level& level, PhysicsWorld& physics);

  const Input& input;
  int lastMouseX = 0;
  int lastMouseY = 0;
  bool hadFocus = true;
  bool wireframeOn = false;
  bool frustumCullingOn = true;
  bool showStatisticsOn = true;
  bool blendingOn = true;
  double toggleTimer = toggleDelay;
};

}  // namespace Vexa
