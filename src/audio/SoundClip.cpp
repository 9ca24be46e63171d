#include "audio/SoundClip.h"

#include "audio/SoundBuffer.h"
#include "audio/SoundSystem.h"

namespace Vexa {

SoundClip::SoundClip(SoundSystem* system, const std::string& fileName)
    : system(system), name(fileName), sound(system->load(fileName)) {
  system->clipLoaded(*this);
}

SoundClip::~SoundClip() {
  sound.reset();
  system->clipReleased(*this);
}

void SoundClip::play() {
  channel = system->channels().start(sound->id(), playbackVolume, position);
}

bool SoundClip::isPlaying() const {
  return channel && system->channels().isPlaying(*channel);
}

void SoundClip::stop() {
  if (channel) system->channels().stop(*channel);
}

void SoundClip::moveTo(const glm::vec3& newPosition) {
  position = newPosition;
  if (channel) system->channels().moveTo(*channel, position);
}

}  // namespace Vexa
