#pragma once

#include <sndfile.h>

#include <cmath>
#include <string>
#include <vector>

namespace Vexa::test {

constexpr int toneFileRate = 44100;

/// Writes a 440 Hz tone of `seconds`, one amplitude per channel (0 for silence), as
/// 16-bit WAV at `path`.
inline void writeToneFile(const std::string& path, double seconds,
                          const std::vector<float>& channelAmplitudes) {
  SF_INFO info{};
  info.samplerate = toneFileRate;
  info.channels = static_cast<int>(channelAmplitudes.size());
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  const auto frames = static_cast<int>(seconds * toneFileRate);
  std::vector<float> samples;
  for (int frame = 0; frame < frames; ++frame) {
    const float wave = std::sin(2.0f * 3.14159265f * 440.0f * frame / toneFileRate);
    for (float amplitude : channelAmplitudes) samples.push_back(amplitude * wave);
  }
  sf_writef_float(file, samples.data(), frames);
  sf_close(file);
}

}  // namespace Vexa::test
