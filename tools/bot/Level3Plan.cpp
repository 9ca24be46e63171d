#include "Level3Plan.h"

#include "scene/Level3.h"
#include "scene/mesh/Enemy.h"

namespace Vexa::bot {

namespace {

/// The boss's capsule radius: an enemy's body size at the boss's scale.
constexpr float bossRadius = static_cast<float>(scene::mesh::Enemy::bodySize * Level3::bossScale);

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
