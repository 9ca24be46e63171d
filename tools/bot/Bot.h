#pragma once

#include <memory>
#include <optional>

#include "BotView.h"
#include "LevelPlan.h"
#include "Replay.h"

namespace Vexa::bot {

/// Plays the game from its state lines: each frame it reads what the player sees
/// and answers with the keys and mouse motion for the next frame, following the
/// plan of the level it is in.
class Bot {
 public:
  replay::FrameInput decide(const BotView& view);

 private:
  std::unique_ptr<LevelPlan> plan;
  int planLevel = 0;
  std::optional<glm::vec3> lastPosition;
};

}  // namespace Vexa::bot
