#include "Bot.h"

#include <glm/geometric.hpp>

#include "ClosingScenePlan.h"
#include "Level1Plan.h"
#include "Level2Plan.h"
#include "Level3Plan.h"

namespace Vexa::bot {

namespace {

/// A move this long in one frame is no walk: the player fell out and started over.
constexpr float respawnJump = 25.0f;

}  // namespace

Bot::Bot() : maps(LevelMap::readAll()) {}

std::unique_ptr<LevelPlan> Bot::planFor(int level) const {
  switch (level) {
    case 1:
      return std::make_unique<Level1Plan>(maps[0]);
    case 2:
      return std::make_unique<Level2Plan>(maps[1]);
    case 3:
      return std::make_unique<Level3Plan>(maps[2]);
    default:
      return std::make_unique<ClosingScenePlan>();
  }
}

replay::Replay Bot::play(replay::ReplayRunner& runner, std::time_t calendarStart,
                         const Watcher& watch) {
  Bot bot;
  return runner.drive(
      [&](const std::string& stateLine) {
        const BotView view = BotView::parse(stateLine);
        if (watch) watch(view);
        return bot.decide(view);
      },
      frameTime, calendarStart);
}

replay::FrameInput Bot::decide(const BotView& view) {
  Pilot pilot(view);
  if (!view.inLevel) return pilot.input();
  if (!plan || view.level != planLevel) {
    plan = planFor(view.level);
    planLevel = view.level;
    lastPosition.reset();
  }
  if (lastPosition && glm::distance(*lastPosition, view.player) > respawnJump) plan->respawned();
  lastPosition = view.player;
  plan->play(view, pilot);
  return pilot.input();
}

}  // namespace Vexa::bot
