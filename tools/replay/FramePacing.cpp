#include "FramePacing.h"

#include <algorithm>
#include <thread>

namespace Vexa::replay {

FramePacing::FramePacing(double frameTime)
    : frameTime(std::chrono::duration_cast<WallClock::duration>(
          std::chrono::duration<double>(frameTime))) {}

void FramePacing::frameBegins() {
  if (!lastFrameEnd) lastFrameEnd = WallClock::now();
}

// A frame in time ends when it is due, however long the sleep overran, so the
// frames keep their cadence; a late one ends when it is done.
void FramePacing::frameShown() {
  const WallClock::time_point due = *lastFrameEnd + frameTime;
  const WallClock::time_point now = WallClock::now();
  if (now < due) std::this_thread::sleep_until(due);
  lastFrameEnd = std::max(due, now);
}

}  // namespace Vexa::replay
