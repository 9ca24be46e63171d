#include "app/Controls.h"

#include <GL/glew.h>

#include <cmath>

#include "physic/PhysicsWorld.h"
#include "platform/Input.h"
#include "scene/Level.h"

namespace Vexa {

Controls::Controls(const Input& input) : input(input) {
  input.mousePosition(lastMouseX, lastMouseY);
}

// Without focus the game waits, and nothing of the input reaches the level.
void Controls::processInput(double frameTimeSeconds, Level& level, PhysicsWorld& physics) {
  const bool focused = input.hasFocus();
  const bool regained = focused && !hadFocus;
  hadFocus = focused;
  if (!focused) return;
  if (input.keyDown(Key::Space)) level.jump();
  move(level);
  if (input.leftMouseButtonDown()) level.swingBat();
  look(level, regained);
  if (toggleTimer > toggleDelay && toggle(level, physics)) toggleTimer = 0.0;
  toggleTimer += frameTimeSeconds;
}

// Opposite keys cancel out. A diagonal is not renormalised: both components are
// halved, so it is slower than a straight move.
void Controls::move(Level& level) const {
  float x = 0.0f;
  float z = 0.0f;
  if (input.keyDown(Key::Left) || input.keyDown(Key::A)) x = -moveStep;
  if (input.keyDown(Key::Right) || input.keyDown(Key::D))
    x = static_cast<float>(static_cast<double>(x) + moveStep);
  if (input.keyDown(Key::Up) || input.keyDown(Key::W)) z = -moveStep;
  if (input.keyDown(Key::Down) || input.keyDown(Key::S))
    z = static_cast<float>(static_cast<double>(z) + moveStep);
  glm::vec3 direction(x, 0.0f, z);
  if (std::sqrt(x * x + z * z) > moveStep) direction *= 0.5f;
  level.movePlayer(direction);
}

// Every `pixelsPerDegree` pixels of motion turn the view by a degree. Without
// focus the cursor is the desktop's; on return it may be anywhere, so its first
// reading there only becomes the new reference.
void Controls::look(Level& level, bool regainedFocus) {
  int x = 0;
  int y = 0;
  input.mousePosition(x, y);
  const float yawChange = static_cast<float>(x - lastMouseX) / pixelsPerDegree;
  const float pitchChange = static_cast<float>(y - lastMouseY) / pixelsPerDegree;
  if (!regainedFocus && (yawChange != 0.0f || pitchChange != 0.0f))
    level.rotateCamera(-pitchChange, -yawChange);
  lastMouseX = x;
  lastMouseY = y;
}

// At most one toggle acts per frame, the first held key in this order.
bool Controls::toggle(Level& level, PhysicsWorld& physics) {
  if (input.keyDown(Key::F3)) {
    glPolygonMode(GL_FRONT_AND_BACK, wireframeOn ? GL_FILL : GL_LINE);
    wireframeOn = !wireframeOn;
  } else if (input.keyDown(Key::F12)) {
    physics.floatMode = !physics.floatMode;
  } else if (input.keyDown(Key::F8)) {
    frustumCullingOn = !frustumCullingOn;
    level.setCullingEnabled(frustumCullingOn);
  } else if (input.keyDown(Key::F2)) {
    showStatisticsOn = !showStatisticsOn;
  } else if (input.keyDown(Key::F9)) {
    if (blendingOn)
      glDisable(GL_BLEND);
    else
      glEnable(GL_BLEND);
    blendingOn = !blendingOn;
  } else {
    return false;
  }
  return true;
}

}  // namespace Vexa
