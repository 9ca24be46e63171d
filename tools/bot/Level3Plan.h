#pragma once

#include "Journey.h"
#include "LevelMap.h"
#include "LevelPlan.h"

namespace Vexa::bot {

/// Level 3: the climb by ramps and jumps, clearing the enemies' platforms on the
/// way, the drop into the boss's arena, the boss knocked off it, and the way
/// through the opened doors to the finish.
class Level3Plan final : public LevelPlan {
 public:
  explicit Level3Plan(const LevelMap& map);
  void play(const BotView& view, Pilot& pilot) override;
  void respawned() override;

 private:
  Journey toArena;
  Fighter bossFighter;
  Course toFinish;
};

}  // namespace Vexa::bot
