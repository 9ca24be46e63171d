#include "app/Caption.h"

#include <cmath>
#include <sstream>

namespace Vexa {

double roundedFrameRate(double frameTimeSeconds) {
  const double rate = 1.0 / frameTimeSeconds;
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
