#pragma once

#include "Course.h"
#include "LevelMap.h"
#include "LevelPlan.h"

namespace Vexa::bot {

/// Level 2: float jumps from pillar top to pillar top up to the finish gate, the one
/// leg of its route; the enemies on the pillars are bowled over by the floating player.
class Level2Plan final : public LevelPlan {
 public:
  explicit Level2Plan(const LevelMap& map) : course(map.wayToFinish()) {}
  void play(const BotView& view, Pilot& pilot) override { course.steer(view, pilot); }
  void respawned() override { course.restart(); }

 private:
  Course course;
};

}  // namespace Vexa::bot
