#pragma once

#include "Replay.h"
#include "platform/Input.h"

namespace Vexa::replay {

/// The game's input given one frame at a time: nothing is held until the first
/// `play`, and each `play` holds that frame's keys and button and moves the
/// cursor by its motion.
class FrameByFrameInput : public Input {
 public:
  void play(const FrameInput& frame);

  bool keyDown(Key key) const override { return current.keys.count(key) != 0; }
  bool leftMouseButtonDown() const override { return current.mouseButton; }
  void mousePosition(int& x, int& y) const override {
    x = cursorX;
    y = cursorY;
  }
  /// Scripted input is the window's own: it never loses focus.
  bool hasFocus() const override { return true; }

 private:
  FrameInput current;
  int cursorX = 0;
  int cursorY = 0;
};

/// Serves a replay's frames as the game's input: each `advance` moves on by one
/// frame. Past the last frame nothing is held and the cursor rests.
class ReplayInput final : public FrameByFrameInput {
 public:
  /// `replay` must outlive the input.
  explicit ReplayInput(const Replay& replay) : spans(replay.spans) {}

  void advance();

 private:
  const std::vector<Span>& spans;
  std::size_t nextSpan = 0;
  long framesLeftInSpan = 0;
  FrameInput spanInput;
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
