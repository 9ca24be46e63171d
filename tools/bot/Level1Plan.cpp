#include "Level1Plan.h"

#include <algorithm>

namespace Vexa::bot {

namespace {

/// Enemies falling within this distance of the elevator's middle are the wave's.
constexpr float fallWatchRadius = 60.0f;

/// Frames the wave takes to fall onto the elevator and settle.
constexpr long waveLandingFrames = 180;
/// The player stands higher than this above the elevator's resting top only when it
/// rides it there: on the lowered elevator it stands 10 lower.
constexpr float risenAboveRest = 1.0f;

}  // namespace

// The route's legs lead over the arena, clearing it, onto the lowered elevator; its
// last leg goes on from the risen elevator to the finish.
Level1Plan::Level1Plan(const LevelMap& map)
    : toElevator(map.legsToTask()),
      elevatorFighter(map.ground("Elevator")),
      toFinish(map.wayToFinish()),
      elevatorTop(map.ground("Elevator").top),
      rubyPlace(map.landmark("Ruby")),
      rubyWatch(map.landmark("RubyWatch")),
      risenHeight(map.landmark("ElevatorRest").y + risenAboveRest) {}

void Level1Plan::respawned() {
  toElevator.restart();
  toFinish.restart();
  stage = Stage::ToElevator;
}

void Level1Plan::play(const BotView& view, Pilot& pilot) {
  if (waveFrame < 0 && view.triggered("Level1ElevatorEvent")) waveFrame = view.frame;
  switch (stage) {
    case Stage::ToElevator:
      if (toElevator.finished()) {
        // Landed short of the elevator's trigger: walk on to its middle.
        if (waveFrame >= 0)
          stage = Stage::Wave;
        else
          pilot.move(horizontal(rubyPlace - view.player));
        break;
      }
      toElevator.play(view, pilot);
      break;
    case Stage::Wave:
      playWave(view, pilot);
      break;
    case Stage::ToFinish:
      toFinish.steer(view, pilot);
      break;
  }
}

void Level1Plan::playWave(const BotView& view, Pilot& pilot) {
  if (view.frame - waveFrame < waveLandingFrames) {
    pilot.look(view.yaw, 10.0f);
    return;
  }
  // An enemy of the wave may come back onto the elevator from where it was
  // thrown: the fight goes on until none stands there.
  if (!elevatorFighter.fight(view, pilot)) playRuby(view, pilot);
}

// The ruby shows above the elevator's middle once the last of the wave is out of
// play; until the ones knocked off have fallen that far, the player waits aside
// with the ruby's place in view. Standing under it collects it, and the elevator
// rises.
void Level1Plan::playRuby(const BotView& view, Pilot& pilot) {
  if (view.player.y > risenHeight && view.onGround) {
    stage = Stage::ToFinish;
    return;
  }
  const glm::vec3 target = waveStillFalling(view) ? rubyWatch : rubyPlace;
  pilot.lookAt(rubyPlace);
  if (horizontalDistance(view.player, target) > 0.5f) pilot.move(horizontal(target - view.player));
}

bool Level1Plan::waveStillFalling(const BotView& view) const {
  return std::any_of(view.enemies.begin(), view.enemies.end(), [this](const BotView::Enemy& enemy) {
    return !enemy.hidden && enemy.position.y < elevatorTop &&
           horizontalDistance(enemy.position, rubyPlace) < fallWatchRadius;
  });
}

}  // namespace Vexa::bot
