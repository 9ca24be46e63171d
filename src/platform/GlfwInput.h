#pragma once

#include "platform/Input.h"

struct GLFWwindow;

namespace Vexa {

/// Input read from a GLFW window's keyboard and mouse.
class GlfwInput final : public Input {
 public:
  explicit GlfwInput(GLFWwindow* window) : window(window) {}

  bool keyDown(Key key) const override;
  bool leftMouseButtonDown() const override;
  void mousePosition(int& x, int& y) const override;
  bool hasFocus() const override;

 private:
  GLFWwindow* window;
};

}  // namespace Vexa
