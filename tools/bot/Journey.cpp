#include "Journey.h"

namespace Vexa::bot {

Journey::Journey(std::vector<Leg> plan) {
  for (Leg& leg : plan) legs.push_back({Course(std::move(leg.route)), std::move(leg.clearing)});
}

void Journey::restart() {
  for (Stretch& leg : legs) leg.course.restart();
  current = 0;
}

void Journey::play(const BotView& view, Pilot& pilot) {
  while (!finished()) {
    Stretch& leg = legs[current];
    if (!leg.course.finished()) {
      leg.course.steer(view, pilot);
      if (!leg.course.finished()) return;
    }
    if (leg.clearing && leg.clearing->fight(view, pilot)) return;
    ++current;
  }
}

}  // namespace Vexa::bot
