#pragma once

#include <set>

#include "platform/Input.h"

namespace Vexa::test {

/// Input whose keys, button, cursor and focus the test sets directly.
class ScriptedInput final : public Input {
 public:
  bool keyDown(Key key) const override { return held.count(key) != 0; }
  bool leftMouseButtonDown() const override { return mouseButtonHeld; }
  void mousePosition(int& x, int& y) const override {
    x = mouseX;
    y = mouseY;
  }
  bool hasFocus() const override { return focused; }

  std::set<Key> held;
  bool mouseButtonHeld = false;
  int mouseX = 0;
  int mouseY = 0;
  bool focused = true;
};

}  // namespace Vexa::test
