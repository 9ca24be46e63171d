#include "platform/Clock.h"

#include <GLFW/glfw3.h>

#include <optional>

namespace Vexa {

namespace {

struct ClockState {
  Clock::Source source;
  /// Seconds of the source spent paused, before the current pause if any.
  double pausedSeconds = 0.0;
  /// The source's reading when the current pause began.
  std::optional<double> pausedAt;

  double sourceNow() const { return source ? source() : glfwGetTime(); }
};

ClockState& state() {
  static ClockState current;
  return current;
}

}  // namespace

double Clock::now() {
  const ClockState& clock = state();
  return clock.pausedAt.value_or(clock.sourceNow()) - clock.pausedSeconds;
}

void Clock::use(Source replacement) {
  ClockState fresh;
  fresh.source = std::move(replacement);
  state() = std::move(fresh);
}

void Clock::pause() {
  ClockState& clock = state();
  if (!clock.pausedAt) clock.pausedAt = clock.sourceNow();
}

void Clock::resume() {
  ClockState& clock = state();
  if (!clock.pausedAt) return;
  clock.pausedSeconds += clock.sourceNow() - *clock.pausedAt;
  clock.pausedAt.reset();
}

bool Clock::paused() {
  return state().pausedAt.has_value();
}

}  // namespace Vexa
