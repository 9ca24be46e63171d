#include "audio/SoundBuffer.h"

#include <AL/alext.h>
#include <sndfile.h>

#include <memory>
#include <optional>
#include <vector>

#include "audio/SoundSystem.h"
#include "audio/SourcePool.h"
#include "platform/LoadTimes.h"

namespace Vexa {

namespace {

struct MonoSound {
  std::vector<float> samples;
  int sampleRate = 0;
};

struct SoundFileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};

// Reads until the data ends rather than trusting the frame count of the header,
// which a damaged file may overstate. Channels are averaged into one.
std::optional<MonoSound> readMono(const std::string& path) {
  SF_INFO info{};
  const std::unique_ptr<SNDFILE, SoundFileCloser> file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file || info.channels <= 0 || info.samplerate <= 0) return std::nullopt;
  constexpr sf_count_t framesPerRead = 4096;
  std::vector<float> interleaved(static_cast<std::size_t>(framesPerRead * info.channels));
  MonoSound sound{{}, info.samplerate};
  sf_count_t framesRead = 0;
  while ((framesRead = sf_readf_float(file.get(), interleaved.data(), framesPerRead)) > 0) {
    for (sf_count_t frame = 0; frame < framesRead; ++frame) {
      float sum = 0.0f;
      for (int c = 0; c < info.channels; ++c) sum += interleaved[frame * info.channels + c];
      sound.samples.push_back(sum / static_cast<float>(info.channels));
    }
  }
  if (sf_error(file.get()) != SF_ERR_NO_ERROR || sound.samples.empty()) return std::nullopt;
  return sound;
}

ALuint bufferOf(const MonoSound& sound) {
  ALuint buffer = 0;
  alGetError();
  alGenBuffers(1, &buffer);
  alBufferData(buffer, AL_FORMAT_MONO_FLOAT32, sound.samples.data(),
               static_cast<ALsizei>(sound.samples.size() * sizeof(float)), sound.sampleRate);
  if (alGetError() == AL_NO_ERROR) return buffer;
  alDeleteBuffers(1, &buffer);
  return 0;
}

}  // namespace

SoundBuffer::SoundBuffer(SourcePool& channels, const std::string& path) : channels(channels) {
  const LoadTimes::Scope timed(LoadTimes::Cause::SoundLoading);
  const auto sound = readMono(path);
  if (sound) buffer = bufferOf(*sound);
  checkSoundResult(buffer != 0, "could not find sound " + path);
}

SoundBuffer::~SoundBuffer() {
  channels.release(buffer);
  alDeleteBuffers(1, &buffer);
}

}  // namespace Vexa
