#pragma once

#include "LevelPlan.h"

namespace Vexa::bot {

/// The closing scene: look at the sign for a while, then leave the game.
class ClosingScenePlan final : public LevelPlan {
 public:
  void play(const BotView& view, Pilot& pilot) override;
  void respawned() override {}

 private:
  long firstFrame = -1;
};

}  // namespace Vexa::bot
