#include "ClosingScenePlan.h"

namespace Vexa::bot {

namespace {

/// Frames the bot watches the closing scene before it presses Escape.
constexpr long watchFrames = 240;

}  // namespace

void ClosingScenePlan::play(const BotView& view, Pilot& pilot) {
  if (firstFrame < 0) firstFrame = view.frame;
  pilot.look(0.0f, -5.0f);
  if (view.frame - firstFrame >= watchFrames) pilot.escape();
}

}  // namespace Vexa::bot
