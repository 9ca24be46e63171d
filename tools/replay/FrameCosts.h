#pragma once

#include <array>
#include <chrono>
#include <iosfwd>
#include <vector>

#include "app/FrameObserver.h"

namespace Vexa::replay {

/// Milliseconds each phase of the frames took. Every mark waits for the GPU with
/// glFinish, so a phase pays for the drawing it issued, not for its predecessor's.
class FrameCosts {
 public:
  using Phase = FrameObserver::Phase;

  /// Starts timing anew: as a frame begins, or after work that belongs to no phase.
  void start();
  /// Ends `phase` and starts the next; `counted` false leaves its time out of the table.
  void phaseEnded(Phase phase, bool counted);

  /// One row per phase: the number of frames counted, the median and the 95th percentile.
  void print(std::ostream& out) const;

 private:
  std::chrono::steady_clock::time_point finishedWork() const;

  std::chrono::steady_clock::time_point phaseStart;
  std::array<std::vector<double>, FrameObserver::phaseCount> milliseconds;
};

}  // namespace Vexa::replay
