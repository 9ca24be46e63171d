#include "Level2Plan.h"

namespace Vexa::bot {

namespace {

using Move = Waypoint::Move;

/// The pillars' tops, then the finish gate on the last one.
const std::vector<Waypoint> route{{{-30.0f, 25.0f, -60.0f}, Move::FloatTo, 4.0f},
                                  {{-45.0f, 45.0f, -110.0f}, Move::FloatTo, 4.0f},
                                  {{-25.0f, 62.0f, -165.0f}, Move::FloatTo, 4.0f},
                                  {{30.0f, 80.0f, -215.0f}, Move::FloatTo, 4.0f},
                                  {{-5.0f, 105.0f, -262.0f}, Move::FloatTo, 4.0f},
                                  {{-5.0f, 105.0f, -264.0f}, Move::Walk, 0.5f}};

}  // namespace

Level2Plan::Level2Plan() : course(route) {}

}  // namespace Vexa::bot
