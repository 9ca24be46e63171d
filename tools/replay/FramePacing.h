#pragma once

#include <chrono>
#include <optional>

namespace Vexa::replay {

/// Holds frames of a fixed length to the wall clock: each frame ends no sooner than
/// its frame time after the one before it (the first, after it began). A
/// frame that takes longer delays the frames after it instead of hurrying them, so
/// a machine that does not keep up, or a level that loads, plays on in slow motion.
class FramePacing {
 public:
  explicit FramePacing(double frameTime);

  /// As a frame begins; the first one starts the pacing.
  void frameBegins();
  /// After a frame is presented: waits out the rest of its frame time.
  void frameShown();

 private:
  using WallClock = std::chrono::steady_clock;

  WallClock::duration frameTime;
  /// The first frame's start until it ends.
  std::optional<WallClock::time_point> lastFrameEnd;
};

}  // namespace Vexa::replay
