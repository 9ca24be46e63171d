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

}  // namespace

bool GlfwInput::keyDown(Key key) const {
  return glfwGetKey(window, glfwKey(key)) == GLFW_PRESS;
}

bool GlfwInput::leftMouseButtonDown() const {
  return glfwGetMouseButton(window, GLFW_MOUSE_BUTTON_LEFT) == GLFW_PRESS;
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
