#pragma once

#include <AL/alc.h>
#include <AL/alext.h>

#include <glm/vec3.hpp>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "audio/SourcePool.h"

namespace Vexa {

class SoundBuffer;
class SoundClip;

/// Ends the game with `message` when a step of the sound set-up or a sound load failed.
void checkSoundResult(bool succeeded, const std::string& message);

/// The sound output of one level: an OpenAL device and context, the pool of
/// channels every clip plays on, and the listener. Create one at a time; the
/// constructor makes its context the current one. Every clip of the system must
/// go before it: destroying it while one is alive is a programming error that
/// ends the program at once, naming the clips left.
class SoundSystem {
 public:
  enum class Output {
    /// The default sound device; a machine without one mixes as `Discarded` does.
    DefaultDevice,
    /// Every update mixes the time since the last one and drops the samples, so
    /// playbacks run their length without a sound card.
    Discarded,
  };

  static constexpr int channelCount = 100;
  static constexpr int discardedMixRate = 44100;

  explicit SoundSystem(Output output = Output::DefaultDevice);
  ~SoundSystem();
  SoundSystem(const SoundSystem&) = delete;
  SoundSystem& operator=(const SoundSystem&) = delete;

  /// The once-per-frame listener update: the ear moves to `position`, its velocity
  /// is the distance moved since the previous call (per frame, not per second),
  /// then the output advances.
  void updateListener(const glm::vec3& position, const glm::vec3& forward, const glm::vec3& up);

  SourcePool& channels() { return *sources; }
  /// The samples of "Resources/Sounds/" + `fileName`, decoded at the first call
  /// and shared by every clip that plays the file for as long as one holds them.
  /// Ends the game when the file is missing or cannot be decoded.
  std::shared_ptr<const SoundBuffer> load(const std::string& fileName);
  /// Clips announce themselves for the check at destruction; nothing per frame.
  void clipLoaded(const SoundClip& clip);
  void clipReleased(const SoundClip& clip);
  bool hasDevice() const { return renderDiscarded == nullptr; }
  /// Interleaved stereo samples mixed by the last update; empty with a device.
  const std::vector<float>& discardedMix() const { return mix; }

 private:
  struct DeviceCloser {
    void operator()(ALCdevice* device) const { alcCloseDevice(device); }
  };
  struct ContextDestroyer {
    void operator()(ALCcontext* context) const;
  };

  bool openDefaultDevice();
  bool createContext();
  void mixElapsedTime();

  std::unique_ptr<ALCdevice, DeviceCloser> device;
  std::unique_ptr<ALCcontext, ContextDestroyer> context;
  std::unique_ptr<SourcePool> sources;
  /// Set when there is no device: mixes into `mix`.
  LPALCRENDERSAMPLESSOFT renderDiscarded = nullptr;
  double mixStartSeconds = 0.0;
  long long framesMixed = 0;
  std::vector<float> mix;
  glm::vec3 lastListenerPosition{0.0f, 0.0f, 0.0f};
  std::vector<const SoundClip*> liveClips;
  std::map<std::string, std::weak_ptr<const SoundBuffer>> loadedFiles;
};

}  // namespace Vexa
