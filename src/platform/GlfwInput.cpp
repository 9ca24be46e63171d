#include "platform/GlfwInput.h"

#include <GLFW/glfw3.h>

#include <cmath>

namespace Vexa {

namespace {

int glfwKey(Key key) {
  switch (key) {
    case Key::Space:
      return GLFW_KEY_SPACE;
    case Key::Left:
      return GLFW_KEY_LEFT;
    case Key::Right:
      return GLFW_KEY_RIGHT;
    case Key::Up:
      return GLFW_KEY_UP;
    case Key::Down:
      return GLFW_KEY_DOWN;
    case Key::A:
      return GLFW_KEY_A;
    case Key::D:
      return GLFW_KEY_D;
    case Key::W:
      return GLFW_KEY_W;
    case Key::S:
      return GLFW_KEY_S;
    case Key::F2:
      return GLFW_KEY_F2;
    case Key::F3:
      return GLFW_KEY_F3;
    case Key::F8:
      return GLFW_KEY_F8;
    case Key::F9:
      return GLFW_KEY_F9;
    case Key::F12:
      return GLFW_KEY_F12;
    case Key::Escape:
      return GLFW_KEY_ESCAPE;
  }
  return GLFW_KEY_UNKNOWN;
}

GlfwInput& inputOf(GLFWwindow* window) {
  return *static_cast<GlfwInput*>(glfwGetWindowUserPointer(window));
}

}  // namespace

// Window events arrive while the frame presents, after the frame has read its
// input: a key pressed and released there is latched for the next frame.
GlfwInput::GlfwInput(GLFWwindow* window) : window(window) {
  glfwSetWindowUserPointer(window, this);
  glfwSetKeyCallback(window, keyChanged);
  glfwSetMouseButtonCallback(window, buttonChanged);
}

GlfwInput::~GlfwInput() {
  glfwSetMouseButtonCallback(window, nullptr);
  glfwSetKeyCallback(window, nullptr);
  glfwSetWindowUserPointer(window, nullptr);
}

void GlfwInput::keyChanged(GLFWwindow* window, int key, int, int action, int) {
  if (action != GLFW_PRESS) return;
  for (int k = 0; k < keyCount; ++k) {
    if (glfwKey(static_cast<Key>(k)) == key) inputOf(window).presses.press(static_cast<Key>(k));
  }
}

void GlfwInput::buttonChanged(GLFWwindow* window, int button, int action, int) {
  if (button == GLFW_MOUSE_BUTTON_LEFT && action == GLFW_PRESS)
    inputOf(window).presses.pressMouseButton();
}

bool GlfwInput::keyDown(Key key) const {
  return glfwGetKey(window, glfwKey(key)) == GLFW_PRESS || presses.pressed(key);
}

bool GlfwInput::leftMouseButtonDown() const {
  return glfwGetMouseButton(window, GLFW_MOUSE_BUTTON_LEFT) == GLFW_PRESS ||
         presses.mouseButtonPressed();
}

void GlfwInput::mousePosition(int& x, int& y) const {
  double cursorX = 0.0;
  double cursorY = 0.0;
  glfwGetCursorPos(window, &cursorX, &cursorY);
  x = static_cast<int>(std::floor(cursorX));
  y = static_cast<int>(std::floor(cursorY));
}

bool GlfwInput::hasFocus() const {
  return glfwGetWindowAttrib(window, GLFW_FOCUSED) == GLFW_TRUE;
}

}  // namespace Vexa
