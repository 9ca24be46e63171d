#pragma once

#include "Course.h"
#include "LevelPlan.h"

namespace Vexa::bot {

/// Level 2: float jumps from pillar to pillar up to the finish; the enemies on
/// the pillars are bowled over by the floating player.
class Level2Plan final : public LevelPlan {
 public:
  Level2Plan();
  void play(const BotView& view, Pilot& pilot) override { course.steer(view, pilot); }
  void respawned() override { course.restart(); }

 private:
  Course course;
};

}  // namespace Vexa::bot
