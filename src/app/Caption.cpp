#include "app/Caption.h"

#include <cmath>
#include <sstream>

namespace Vexa {

namespace {

/// No frame counts as shorter than a millisecond. The first frame starts as the
/// loop does and lasts no time at all, and two readings within one tick of a
/// coarse clock differ by nothing; such a frame shows 1000 frames a second, the
/// most the caption reports, instead of a rate of millions or "inf".
constexpr double shortestFrameSeconds = 0.001;

}  // namespace

double roundedFrameRate(double frameTimeSeconds) {
  const double counted =
      std::abs(frameTimeSeconds) < shortestFrameSeconds ? shortestFrameSeconds : frameTimeSeconds;
  const double rate = 1.0 / counted;
  return std::trunc(rate < 0.0 ? rate - 0.5 : rate + 0.5);
}

std::string captionText(bool showStatistics, double frameTimeSeconds, int drawnObjects,
                        bool frustumCulling) {
  std::ostringstream caption;
  caption << "Vexa's Voyage";
  if (showStatistics) {
    caption << " | FPS: " << roundedFrameRate(frameTimeSeconds)
            << " | # drawn objects: " << drawnObjects;
    if (frustumCulling) caption << " | View-Frustum-Culling on";
  }
  return caption.str();
}

}  // namespace Vexa
