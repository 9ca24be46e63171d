#include "scene/event/Level3BossStartWalking.h"

#include <glm/geometric.hpp>

#include "physic/CharacterBody.h"
#include "scene/mesh/Enemy.h"
#include "scene/mesh/Player.h"

namespace Vexa::scene::event {

Level3BossStartWalking::Level3BossStartWalking(mesh::Enemy& boss, const mesh::Player& player)
    : Event("Level3BossStartWalking", nullptr), boss(boss), player(player) {}

bool Level3BossStartWalking::check(const glm::vec3&, float) {
  return !triggered() &&
         glm::distance(boss.position(), player.character().position()) <= wakeDistance;
}

void Level3BossStartWalking::run(double) {
  if (!hasRun()) boss.wake();
}

}  // namespace Vexa::scene::event
