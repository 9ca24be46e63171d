#pragma once

#include "BotView.h"
#include "Pilot.h"

namespace Vexa::bot {

/// How the bot plays one level: the route written down for it, and what it
/// does when it meets enemies on the way.
class LevelPlan {
 public:
  virtual ~LevelPlan() = default;
  /// Decides this frame's hands from what the player sees.
  virtual void play(const BotView& view, Pilot& pilot) = 0;
  /// The player fell out of the world and is back at the level's start.
  virtual void respawned() = 0;
};

}  // namespace Vexa::bot
