#pragma once

#include <array>
#include <chrono>
#include <iosfwd>
#include <vector>

#include "app/FrameObserver.h"
#include "platform/LoadTimes.h"

namespace Vexa::replay {

/// The smallest of `samples` that at least `share` of them do not exceed.
double percentile(std::vector<double> samples, double share);

/// Milliseconds each phase of the frames took. Every mark waits for the GPU with
/// glFinish, so a phase pays for the drawing it issued, not for its predecessor's.
class FrameCosts {
 public:
  using Phase = FrameObserver::Phase;

  /// What one frame cost: each phase's milliseconds (negative where not counted),
  /// the milliseconds after its swap until it ended (a level switch's cost), and
  /// what loading took in the whole frame, by cause.
  struct Frame {
    std::array<double, FrameObserver::phaseCount> phases{};
    double afterSwap = 0.0;
    LoadTimes::Totals loads{};
  };

  FrameCosts();

  /// Starts timing anew: as a frame begins, or after work that belongs to no phase.
  void start();
  /// Ends `phase` and starts the next; `counted` false leaves its time out of the table.
  void phaseEnded(Phase phase, bool counted);
  /// The frame, its level switch included, is over.
  void frameEnded();

  /// Every frame in the order played, from the first.
  const std::vector<Frame>& frames() const { return frameList; }
  /// Milliseconds from construction to the first frame's beginning: the
  /// application's start-up when the costs are made just before it.
  double startupMilliseconds() const { return startup; }
  /// What loading took by cause before the first frame began.
  const LoadTimes::Totals& startupLoads() const { return startupLoading; }

  /// One row per phase: the number of frames counted, the median and the 95th percentile.
  void print(std::ostream& out) const;

 private:
  std::chrono::steady_clock::time_point finishedWork() const;

  std::chrono::steady_clock::time_point created;
  std::chrono::steady_clock::time_point phaseStart;
  std::array<std::vector<double>, FrameObserver::phaseCount> milliseconds;
  std::vector<Frame> frameList;
  double startup = -1.0;
  LoadTimes::Totals startupLoading{};
};

}  // namespace Vexa::replay
