#pragma once

#include "Replay.h"
#include "platform/Input.h"

namespace Vexa::replay {

/// Serves a replay's frames as the game's input: nothing is held until the first
/// `advance`, and each `advance` moves on by one frame. Past the last frame
/// nothing is held and the cursor rests.
class ReplayInput final : public Input {
 public:
  /// `replay` must outlive the input.
  explicit ReplayInput(const Replay& replay) : spans(replay.spans) {}

  void advance();

  bool keyDown(Key key) const override { return current.keys.count(key) != 0; }
  bool leftMouseButtonDown() const override { return current.mouseButton; }
  void mousePosition(int& x, int& y) const override {
    x = cursorX;
    y = cursorY;
  }
  /// A replay is the window's own input: it never loses focus.
  bool hasFocus() const override { return true; }

 private:
  const std::vector<Span>& spans;
  std::size_t nextSpan = 0;
  long framesLeftInSpan = 0;
  FrameInput current;
  int cursorX = 0;
  int cursorY = 0;
};

/// Writes down, frame by frame, what an input shows, as a replay's frame input.
class InputRecorder {
 public:
  /// The input of the frame about to be played. The first frame has no motion:
  /// nothing has polled the devices since the controls took the cursor as their
  /// reference.
  FrameInput sample(const Input& input);

 private:
  bool sampled = false;
  int lastX = 0;
  int lastY = 0;
};

}  // namespace Vexa::replay
