#include "ReplayInput.h"

namespace Vexa::replay {

void FrameByFrameInput::play(const FrameInput& frame) {
  current = frame;
  cursorX += frame.mouseX;
  cursorY += frame.mouseY;
}

void ReplayInput::advance() {
  if (framesLeftInSpan == 0) {
    const bool more = nextSpan < spans.size();
    spanInput = more ? spans[nextSpan].input : FrameInput{};
    framesLeftInSpan = more ? spans[nextSpan].frames : 1;
    if (more) ++nextSpan;
  }
  --framesLeftInSpan;
  play(spanInput);
}

FrameInput InputRecorder::sample(const Input& input) {
  FrameInput frame;
  for (const auto& [key, name] : keyNames()) {
    if (input.keyDown(key)) frame.keys.insert(key);
  }
  frame.mouseButton = input.leftMouseButtonDown();
  // As the controls do: without focus the cursor is not the player's, and the
  // first reading after focus returns only becomes the reference.
  if (!input.hasFocus()) {
    sampled = false;
    return frame;
  }
  int x = 0;
  int y = 0;
  input.mousePosition(x, y);
  if (sampled) {
    frame.mouseX = x - lastX;
    frame.mouseY = y - lastY;
  }
  sampled = true;
  lastX = x;
  lastY = y;
  return frame;
}

}  // namespace Vexa::replay
