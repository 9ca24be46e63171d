#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "audio/SoundSystem.h"
#include "support/Loudness.h"
#include "support/ManualTime.h"

namespace Vexa::test {

/// A private folder under Resources/Sounds/ for one test's sound files, removed
/// with the object. Names it hands out are the ones a SoundClip loads by.
class SoundFiles {
 public:
  SoundFiles();
  ~SoundFiles();
  SoundFiles(const SoundFiles&) = delete;
  SoundFiles& operator=(const SoundFiles&) = delete;

  /// A 440 Hz tone with one amplitude per channel, as 16-bit WAV.
  std::string writeTone(const std::string& fileName, double seconds,
                        const std::vector<float>& channelAmplitudes = {0.5f}) const;
  std::string writeBytes(const std::string& fileName, const std::string& bytes) const;
  std::string readBytes(const std::string& soundName) const;
  std::string copyIn(const std::filesystem::path& file) const;
  /// Where a sound's file lies, from the game's working directory.
  static std::string pathOf(const std::string& soundName);

  const std::string folderName;
};

/// A sound system whose mix the test hears, and a clock that moves only when the
/// test listens.
class SoundTest : public testing::Test {
 protected:
  SoundTest();

  /// Lets `seconds` pass in one frame of the listener at the origin, facing -z.
  Loudness listen(double seconds);

  SoundFiles files;
  ManualClock clock;
  std::unique_ptr<SoundSystem> sounds;
};

}  // namespace Vexa::test
