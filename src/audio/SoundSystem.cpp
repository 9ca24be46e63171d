#include "audio/SoundSystem.h"

#include <AL/al.h>
#include <alsa/asoundlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "audio/SoundBuffer.h"
#include "audio/SoundClip.h"
#include "platform/Clock.h"
#include "platform/Fatal.h"

namespace Vexa {

namespace {

// A pause longer than this (a debugger, a stalled machine) is not mixed in full.
constexpr double longestMixSeconds = 5.0;

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// Without a sound card libasound writes its configuration errors to the console
// and OpenAL Soft logs the device it could not open, although the game goes on
// without sound. OpenAL Soft stays quiet unless ALSOFT_LOGLEVEL asks otherwise.
void quietenSoundLibraries() {
  snd_lib_error_set_handler(ignoreAlsaError);
  setenv("ALSOFT_LOGLEVEL", "0", /*overwrite=*/0);
}

template <class Function>
Function loopbackFunction(const char* name) {
  return reinterpret_cast<Function>(alcGetProcAddress(nullptr, name));
}

void setListener(const glm::vec3& position, const glm::vec3& velocity, const glm::vec3& forward,
                 const glm::vec3& up) {
  alListener3f(AL_POSITION, position.x, position.y, position.z);
  alListener3f(AL_VELOCITY, velocity.x, velocity.y, velocity.z);
  const ALfloat orientation[] = {forward.x, forward.y, forward.z, up.x, up.y, up.z};
  alListenerfv(AL_ORIENTATION, orientation);
}

}  // namespace

void checkSoundResult(bool succeeded, const std::string& message) {
  if (!succeeded) fatalError(message);
}

void SoundSystem::ContextDestroyer::operator()(ALCcontext* context) const {
  if (alcGetCurrentContext() == context) alcMakeContextCurrent(nullptr);
  alcDestroyContext(context);
}

SoundSystem::SoundSystem(Output output) {
  quietenSoundLibraries();
  const auto openLoopback =
      loopbackFunction<LPALCLOOPBACKOPENDEVICESOFT>("alcLoopbackOpenDeviceSOFT");
  const auto renderLoopback = loopbackFunction<LPALCRENDERSAMPLESSOFT>("alcRenderSamplesSOFT");
  checkSoundResult(openLoopback != nullptr && renderLoopback != nullptr, "could not create system");
  if (output == Output::Discarded || !openDefaultDevice()) {
    device.reset(openLoopback(nullptr));
    checkSoundResult(device != nullptr, "could not set system output");
    renderDiscarded = renderLoopback;
  }
  checkSoundResult(createContext(), "could not init system");
  sources = std::make_unique<SourcePool>(channelCount);
  checkSoundResult(sources->size() == channelCount, "could not init system");
  alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
  alDopplerFactor(1.0f);
  mixStartSeconds = Clock::now();
}

// A clip outliving its system would free its buffer into a destroyed context; the
// owner's member order is wrong, which must show at once, not at some later switch.
SoundSystem::~SoundSystem() {
  if (liveClips.empty()) return;
  std::cerr << "sound system destroyed before its clips:";
  for (const SoundClip* clip : liveClips) std::cerr << ' ' << clip->fileName();
  std::cerr << std::endl;
  std::abort();
}

std::shared_ptr<const SoundBuffer> SoundSystem::load(const std::string& fileName) {
  std::weak_ptr<const SoundBuffer>& loaded = loadedFiles[fileName];
  std::shared_ptr<const SoundBuffer> buffer = loaded.lock();
  if (!buffer) {
    buffer = std::make_shared<const SoundBuffer>(*sources, "Resources/Sounds/" + fileName);
    loaded = buffer;
  }
  return buffer;
}

void SoundSystem::clipLoaded(const SoundClip& clip) {
  liveClips.push_back(&clip);
}

void SoundSystem::clipReleased(const SoundClip& clip) {
  liveClips.erase(std::find(liveClips.begin(), liveClips.end(), &clip));
}

bool SoundSystem::openDefaultDevice() {
  const ALCchar* deviceNames = alcGetString(nullptr, ALC_DEVICE_SPECIFIER);
  checkSoundResult(deviceNames != nullptr, "could not get drivers");
  // A listed device may still fail to open, as the default ALSA device does on a
  // machine without a sound card: that too means playing without sound.
  if (*deviceNames == '\0') return false;
  device.reset(alcOpenDevice(nullptr));
  return device != nullptr;
}

bool SoundSystem::createContext() {
  std::vector<ALCint> attributes = {ALC_MONO_SOURCES, channelCount};
  if (renderDiscarded) {
    // Plain stereo panning, without head-related filtering.
    attributes.insert(attributes.end(),
                      {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                       ALC_FLOAT_SOFT, ALC_FREQUENCY, discardedMixRate, ALC_HRTF_SOFT, ALC_FALSE});
  }
  attributes.push_back(0);
  context.reset(alcCreateContext(device.get(), attributes.data()));
  return context != nullptr && alcMakeContextCurrent(context.get()) == ALC_TRUE;
}

void SoundSystem::updateListener(const glm::vec3& position, const glm::vec3& forward,
                                 const glm::vec3& up) {
  setListener(position, position - lastListenerPosition, forward, up);
  if (renderDiscarded) mixElapsedTime();
  lastListenerPosition = position;
}

void SoundSystem::mixElapsedTime() {
  const auto framesDue = static_cast<long long>(
      std::floor((Clock::now() - mixStartSeconds) * discardedMixRate) - framesMixed);
  const auto longestMix = static_cast<long long>(longestMixSeconds * discardedMixRate);
  const auto frames = std::clamp(framesDue, 0LL, longestMix);
  mix.resize(static_cast<std::size_t>(frames) * 2);
  renderDiscarded(device.get(), mix.data(), static_cast<ALCsizei>(frames));
  framesMixed += std::max(framesDue, 0LL);
}

}  // namespace Vexa
