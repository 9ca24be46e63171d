#pragma once

#include <string>

namespace Vexa {

/// Frames per second for a frame of the given length, rounded half away from
/// zero; at most 1000, which is what a frame shorter than a millisecond shows.
double roundedFrameRate(double frameTimeSeconds);

/// The window caption: the title alone, or with the frame rate, the number of
/// drawn objects and, while culling is on, a note saying so.
std::string captionText(bool showStatistics, double frameTimeSeconds, int drawnObjects,
                        bool frustumCulling);

}  // namespace Vexa
