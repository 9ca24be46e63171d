#include "Level3Plan.h"

namespace Vexa::bot {

namespace {

using Move = Waypoint::Move;

// The enemies' platforms, and the sides on which a neighbouring platform could
// catch a struck enemy.
const Ground e1{{-10.0f, -89.0f}, {10.0f, -69.0f}, 20.5f};
const OpenSides e1Sides{false, true, true, false};
const Ground e2{{-54.0f, -44.0f}, {-36.0f, -26.0f}, 40.5f};
const OpenSides e2Sides{true, false, false, true};
const Ground e3{{-54.0f, -133.0f}, {-36.0f, -115.0f}, 60.5f};
const OpenSides e3Sides{true, false, true, false};
/// The boss's arena; its west side is the wall with the doors.
const Ground arena{{-28.0f, -218.0f}, {8.0f, -182.0f}, 80.0f};
const OpenSides arenaSides{false, true, true, true};
/// The boss's capsule radius: 1.6 scaled by 1.4.
constexpr float bossRadius = 2.24f;

std::vector<Leg> climb() {
  return {{{{{0.0f, 4.5f, -22.0f}},  // up the first ramp
            {{0.0f, 17.0f, -50.0f}},
            {{0.0f, 17.0f, -61.0f}, Move::JumpOff},
            {{0.0f, 20.5f, -76.0f}, Move::Walk, 2.0f}},
           Fighter(e1, e1Sides)},
          {{{{-9.0f, 20.5f, -79.0f}, Move::JumpOff},
            {{-23.0f, 22.5f, -79.0f}, Move::Walk, 2.0f},  // B2
            {{-23.0f, 22.5f, -73.0f}},                    // up the second ramp
            {{-23.0f, 38.5f, -41.0f}},
            {{-23.0f, 38.5f, -35.0f}, Move::Walk, 2.0f},  // B3
            {{-28.0f, 38.5f, -35.0f}, Move::JumpOff},
            {{-42.0f, 40.5f, -35.0f}, Move::Walk, 2.0f}},
           Fighter(e2, e2Sides)},
          {{{{-45.0f, 40.5f, -43.0f}, Move::JumpOff},
            {{-45.0f, 42.5f, -57.0f}, Move::Walk, 2.0f},  // B4
            {{-45.0f, 42.5f, -63.0f}},                    // up the third ramp
            {{-45.0f, 58.5f, -95.0f}},
            {{-45.0f, 58.5f, -106.0f}, Move::JumpOff},
            {{-45.0f, 60.5f, -120.0f}, Move::Walk, 2.0f}},
           Fighter(e3, e3Sides)},
          {{{{-37.0f, 60.5f, -124.0f}, Move::JumpOff},
            {{-22.0f, 62.5f, -124.0f}, Move::Walk, 2.0f},  // B6
            {{-16.0f, 62.5f, -124.0f}},                    // the long ramp east
            {{48.0f, 80.5f, -124.0f}},
            {{54.0f, 80.5f, -126.0f}, Move::Walk, 2.0f},  // B7
            {{54.0f, 80.5f, -130.0f}},                    // the ramp south
            {{54.0f, 96.5f, -185.0f}},
            {{54.0f, 96.5f, -191.0f}, Move::Walk, 2.0f},   // the lookout
            {{-2.0f, 80.0f, -191.0f}, Move::Walk, 2.0f}},  // off the bridge's end, into the arena
           std::nullopt}};
}

const std::vector<Waypoint> finishRoute{{{-20.0f, 80.0f, -200.0f}},
                                        {{-34.0f, 80.0f, -200.0f}},  // through the doors
                                        {{-60.0f, 80.0f, -200.0f}, Move::Walk, 0.5f}};

}  // namespace

Level3Plan::Level3Plan()
    : toArena(climb()), bossFighter(arena, arenaSides, bossRadius), toFinish(finishRoute) {}

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
