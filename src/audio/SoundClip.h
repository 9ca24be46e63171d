#pragma once

#include <AL/al.h>

#include <glm/vec3.hpp>
#include <memory>
#include <optional>
#include <string>

#include "audio/SourcePool.h"

namespace Vexa {

class SoundBuffer;
class SoundSystem;

/// One sound file for positional playback, with its newest playback. The clips of
/// one file share the file's samples, loaded once by their sound system; a clip
/// must go before its sound system.
class SoundClip {
 public:
  /// Plays "Resources/Sounds/" + `fileName`, mixed down to mono so that it can be
  /// placed in space. A file that is missing or cannot be decoded ends the game.
  SoundClip(SoundSystem* system, const std::string& fileName);
  /// The last clip of a file stops the file's playbacks that are still running;
  /// while other clips play the file, this clip's own playbacks run to their end.
  ~SoundClip();
  SoundClip(const SoundClip&) = delete;
  SoundClip& operator=(const SoundClip&) = delete;

  /// Plays the whole file once on a free channel at the clip's volume and position.
  /// Earlier playbacks go on; only this newest one is remembered.
  void play();
  /// Whether the newest playback still sounds; false before the first `play`.
  bool isPlaying() const;
  void stop();
  /// Places the newest playback, and every later one, at `position`.
  void moveTo(const glm::vec3& position);

  const std::string& fileName() const { return name; }
  float volume() const { return playbackVolume; }
  /// Takes effect from the next `play`.
  void setVolume(float volume) { playbackVolume = volume; }

 private:
  SoundSystem* system;
  std::string name;
  float playbackVolume = 1.0f;
  std::shared_ptr<const SoundBuffer> sound;
  std::optional<Channel> channel;
  glm::vec3 position{0.0f, 0.0f, 0.0f};
};

}  // namespace Vexa
