#include "audio/SourcePool.h"

#include <algorithm>

namespace Vexa {

namespace {

// Every sound is full loudness within 2 units and fades as 2 / distance beyond.
constexpr float fullVolumeDistance = 2.0f;
constexpr float farthestFadeDistance = 10000.0f;

bool playing(ALuint source) {
  ALint state = AL_STOPPED;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state == AL_PLAYING;
}

void prepare(ALuint source) {
  alSourcef(source, AL_REFERENCE_DISTANCE, fullVolumeDistance);
  alSourcef(source, AL_MAX_DISTANCE, farthestFadeDistance);
  alSourcef(source, AL_ROLLOFF_FACTOR, 1.0f);
  alSourcei(source, AL_LOOPING, AL_FALSE);
}

}  // namespace

SourcePool::SourcePool(std::size_t count) {
  std::vector<ALuint> names(count);
  alGetError();
  alGenSources(static_cast<ALsizei>(count), names.data());
  if (alGetError() != AL_NO_ERROR) return;
  for (ALuint name : names) {
    prepare(name);
    slots.push_back({name, 0});
  }
}

SourcePool::~SourcePool() {
  for (const Slot& slot : slots) alDeleteSources(1, &slot.source);
}

Channel SourcePool::start(ALuint buffer, float volume, const glm::vec3& position) {
  Slot& slot = freeSlot();
  alSourceStop(slot.source);
  alSourcei(slot.source, AL_BUFFER, static_cast<ALint>(buffer));
  alSourcef(slot.source, AL_GAIN, volume);
  alSource3f(slot.source, AL_POSITION, position.x, position.y, position.z);
  alSourcePlay(slot.source);
  slot.playback = ++playbacksStarted;
  return {static_cast<std::size_t>(&slot - slots.data()), slot.playback};
}

bool SourcePool::isPlaying(const Channel& channel) const {
  const Slot* slot = carrier(channel);
  return slot != nullptr && playing(slot->source);
}

void SourcePool::stop(const Channel& channel) {
  if (const Slot* slot = carrier(channel)) alSourceStop(slot->source);
}

void SourcePool::moveTo(const Channel& channel, const glm::vec3& position) {
  if (const Slot* slot = carrier(channel))
    alSource3f(slot->source, AL_POSITION, position.x, position.y, position.z);
}

void SourcePool::release(ALuint buffer) {
  for (const Slot& slot : slots) {
    ALint attached = 0;
    alGetSourcei(slot.source, AL_BUFFER, &attached);
    if (static_cast<ALuint>(attached) != buffer) continue;
    alSourceStop(slot.source);
    alSourcei(slot.source, AL_BUFFER, 0);
  }
}

SourcePool::Slot& SourcePool::freeSlot() {
  const auto idle = std::find_if(slots.begin(), slots.end(),
                                 [](const Slot& slot) { return !playing(slot.source); });
  if (idle != slots.end()) return *idle;
  return *std::min_element(slots.begin(), slots.end(),
                           [](const Slot& a, const Slot& b) { return a.playback < b.playback; });
}

const SourcePool::Slot* SourcePool::carrier(const Channel& channel) const {
  if (channel.source >= slots.size()) return nullptr;
  const Slot& slot = slots[channel.source];
  return slot.playback == channel.playback ? &slot : nullptr;
}

}  // namespace Vexa
