#pragma once

#include <set>

#include "platform/Input.h"
#include "platform/PressLatch.h"

namespace Vexa::test {

/// Input whose keys, button, cursor and focus the test sets directly. A tap is a
/// press and release between two frames: the latch the window's input uses
/// carries it into the next frame.
class ScriptedInput final : public Input {
 public:
  void beginFrame() override { presses.beginFrame(); }
  bool keyDown(Key key) const override { return held.count(key) != 0 || presses.pressed(key); }
  bool leftMouseButtonDown() const override {
    return mouseButtonHeld || presses.mouseButtonPressed();
  }
  void mousePosition(int& x, int& y) const override {
    x = mouseX;
    y = mouseY;
  }
  bool hasFocus() const override { return focused; }

  void tap(Key key) { presses.press(key); }
  void tapMouseButton() { presses.pressMouseButton(); }

  std::set<Key> held;
  bool mouseButtonHeld = false;
  int mouseX = 0;
  int mouseY = 0;
  bool focused = true;

 private:
  PressLatch presses;
};

}  // namespace Vexa::test
