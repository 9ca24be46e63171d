#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "audio/SoundSystem.h"

namespace Vexa::test {

/// The loudest sample each ear heard.
struct Loudness {
  float left = 0.0f;
  float right = 0.0f;
};

/// What the ears heard in the last update of a sound system with discarded output.
inline Loudness loudestOfLastMix(const SoundSystem& sounds) {
  const std::vector<float>& mix = sounds.discardedMix();
  Loudness heard;
  for (std::size_t i = 0; i + 1 < mix.size(); i += 2) {
    heard.left = std::max(heard.left, std::abs(mix[i]));
    heard.right = std::max(heard.right, std::abs(mix[i + 1]));
  }
  return heard;
}

}  // namespace Vexa::test
