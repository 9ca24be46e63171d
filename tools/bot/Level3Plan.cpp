#include "Level3Plan.h"

namespace Vexa::bot {

namespace {

/// The boss's capsule radius: 1.6 scaled by 1.4.
constexpr float bossRadius = 2.24f;

}  // namespace

// The route's legs climb to the arena, clearing the enemies' platforms on the way;
// its last leg leads from the arena through the doors to the finish.
Level3Plan::Level3Plan(const LevelMap& map)
    : toArena(map.legsToTask()),
      bossFighter(map.ground("Arena"), bossRadius),
      toFinish(map.wayToFinish()) {}

void Level3Plan::respawned() {
  toArena.restart();
  toFinish.restart();
}

void Level3Plan::play(const BotView& view, Pilot& pilot) {
  if (!toArena.finished()) {
    toArena.play(view, pilot);
    return;
  }
  if (!view.triggered("Level3DoorsOpenEvent")) {
    bossFighter.fight(view, pilot);
    return;
  }
  toFinish.steer(view, pilot);
}

}  // namespace Vexa::bot
