#pragma once

#include "platform/Input.h"
#include "platform/PressLatch.h"

struct GLFWwindow;

namespace Vexa {

/// Input read from a GLFW window's keyboard and mouse. It takes the window's key
/// and mouse-button callbacks, which latch every press for the next frame, and
/// gives them back when it goes.
class GlfwInput final : public Input {
 public:
  explicit GlfwInput(GLFWwindow* window);
  ~GlfwInput() override;
  GlfwInput(const GlfwInput&) = delete;
  GlfwInput& operator=(const GlfwInput&) = delete;

  void beginFrame() override { presses.beginFrame(); }
  bool keyDown(Key key) const override;
  bool leftMouseButtonDown() const override;
  void mousePosition(int& x, int& y) const override;
  bool hasFocus() const override;

 private:
  static void keyChanged(GLFWwindow* window, int key, int scancode, int action, int mods);
  static void buttonChanged(GLFWwindow* window, int button, int action, int mods);

  GLFWwindow* window;
  PressLatch presses;
};

}  // namespace Vexa
