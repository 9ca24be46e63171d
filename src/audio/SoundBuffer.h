#pragma once

#include <AL/al.h>

#include <string>

namespace Vexa {

class SourcePool;

/// One sound file decoded into an OpenAL buffer, mixed down to mono so that it can
/// be placed in space. The clips of a level that play the same file share one.
class SoundBuffer {
 public:
  /// Decodes the file at `path`; one that is missing or cannot be decoded ends the
  /// game with "could not find sound " and the path.
  SoundBuffer(SourcePool& channels, const std::string& path);
  /// Stops every playback of the buffer that still runs, then deletes it.
  ~SoundBuffer();
  SoundBuffer(const SoundBuffer&) = delete;
  SoundBuffer& operator=(const SoundBuffer&) = delete;

  ALuint id() const { return buffer; }

 private:
  SourcePool& channels;
  ALuint buffer = 0;
};

}  // namespace Vexa
