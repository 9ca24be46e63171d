#pragma once

#include <bitset>

#include "platform/Input.h"

namespace Vexa {

/// Remembers the presses of keys and of the mouse button between two frames. A
/// frame reads the devices once, so a press released before that read would go
/// unseen; the latch keeps it for exactly the next frame.
class PressLatch {
 public:
  void press(Key key) { pendingKeys.set(static_cast<std::size_t>(key)); }
  void pressMouseButton() { pendingButton = true; }
  /// The presses since the last call become this frame's; new ones wait for the next.
  void beginFrame() {
    frameKeys = pendingKeys;
    frameButton = pendingButton;
    pendingKeys.reset();
    pendingButton = false;
  }

  bool pressed(Key key) const { return frameKeys.test(static_cast<std::size_t>(key)); }
  bool mouseButtonPressed() const { return frameButton; }

 private:
  std::bitset<keyCount> pendingKeys;
  std::bitset<keyCount> frameKeys;
  bool pendingButton = false;
  bool frameButton = false;
};

}  // namespace Vexa
