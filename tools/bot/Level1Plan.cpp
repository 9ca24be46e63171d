#include "Level1Plan.h"

#include <algorithm>

namespace Vexa::bot {

namespace {

using Move = Waypoint::Move;

const std::vector<Waypoint> arenaRoute{
    {{0.0f, 4.5f, -21.0f}, Move::JumpOff},     // the start platform's far edge
    {{0.0f, 5.5f, -36.0f}, Move::Walk, 2.0f},  // P1
    {{3.0f, 5.5f, -42.0f}, Move::JumpOff},
    {{10.0f, 7.5f, -56.0f}, Move::Walk, 2.0f},  // P2
    {{10.0f, 7.5f, -62.0f}, Move::Walk},        // up the ramp
    {{10.0f, 13.5f, -80.0f}, Move::Walk},
    {{8.0f, 13.5f, -91.0f}, Move::JumpOff},       // P3's far edge
    {{6.0f, 15.0f, -106.0f}, Move::Walk, 2.0f}};  // on the arena

const std::vector<Waypoint> elevatorRoute{
    {{-10.0f, 15.0f, -134.5f}, Move::JumpOff},      // the arena's far edge
    {{-10.0f, 11.0f, -150.0f}, Move::Walk, 1.5f}};  // the lowered elevator

const std::vector<Waypoint> finishRoute{{{-10.0f, 21.0f, -186.0f}, Move::Walk, 0.5f}};

/// The arena: 40 by 36, top 15. P3 lies off its south side, the elevator off its north.
const Ground arena{{-30.0f, -136.0f}, {10.0f, -100.0f}, 15.0f};
const OpenSides arenaSides{true, true, false, false};
/// The lowered elevator: 26 by 26, top 11. The arena rises off its north side, the
/// ledge off its south.
const Ground elevator{{-23.0f, -166.0f}, {3.0f, -140.0f}, 11.0f};
const OpenSides elevatorSides{true, true, false, false};
const glm::vec3 rubyPlace(-10.0f, 14.0f, -153.0f);
/// Where the player waits for the ruby: on the elevator, 7 from its middle.
const glm::vec3 rubyWatch(-10.0f, 11.0f, -146.0f);
/// Enemies falling within this distance of the elevator's middle are the wave's.
constexpr float fallWatchRadius = 60.0f;

/// Frames the wave takes to fall onto the elevator and settle.
constexpr long waveLandingFrames = 180;
/// The elevator has risen once the player stands this high.
constexpr float risenHeight = 22.0f;

}  // namespace

Level1Plan::Level1Plan()
    : toElevator({{arenaRoute, Fighter(arena, arenaSides)}, {elevatorRoute, std::nullopt}}),
      elevatorFighter(elevator, elevatorSides),
      toFinish(finishRoute) {}

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

bool Level1Plan::waveStillFalling(const BotView& view) {
  return std::any_of(view.enemies.begin(), view.enemies.end(), [](const BotView::Enemy& enemy) {
    return !enemy.hidden && enemy.position.y < elevator.top &&
           horizontalDistance(enemy.position, rubyPlace) < fallWatchRadius;
  });
}

}  // namespace Vexa::bot
