#pragma once

#include "platform/Calendar.h"
#include "platform/Clock.h"

namespace Vexa::test {

/// Installs a clock that only moves when the test says so; restores the real one.
class ManualClock {
 public:
  ManualClock() {
    Clock::use([this] { return seconds; });
  }
  ~ManualClock() { Clock::use(nullptr); }
  ManualClock(const ManualClock&) = delete;
  ManualClock& operator=(const ManualClock&) = delete;

  void advance(double by) { seconds += by; }

  double seconds = 0.0;
};

/// Pins the calendar second behind the game's random draws.
class FixedCalendar {
 public:
  explicit FixedCalendar(std::time_t second) : second(second) {
    Calendar::use([this] { return this->second; });
  }
  ~FixedCalendar() { Calendar::use(nullptr); }
  FixedCalendar(const FixedCalendar&) = delete;
  FixedCalendar& operator=(const FixedCalendar&) = delete;

  std::time_t second;
};

}  // namespace Vexa::test
