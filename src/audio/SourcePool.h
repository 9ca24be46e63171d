#pragma once

#include <AL/al.h>

#include <cstddef>
#include <cstdint>
#include <glm/vec3.hpp>
#include <vector>

namespace Vexa {

/// One playback on a pooled source. It stays valid only while that source still
/// carries the playback: once the pool hands the source to a newer playback, every
/// operation through the old channel does nothing.
struct Channel {
  std::size_t source = 0;
  std::uint64_t playback = 0;
};

/// A fixed set of OpenAL sources that every sound of a level plays on. Needs the
/// current context of the device that created it.
class SourcePool {
 public:
  /// Generates `count` sources; `size()` is 0 when the context has too few.
  explicit SourcePool(std::size_t count);
  ~SourcePool();
  SourcePool(const SourcePool&) = delete;
  SourcePool& operator=(const SourcePool&) = delete;

  std::size_t size() const { return slots.size(); }

  /// Plays `buffer` once from `position` on a free source: one that is not playing,
  /// or else the one whose playback started earliest.
  Channel start(ALuint buffer, float volume, const glm::vec3& position);
  bool isPlaying(const Channel& channel) const;
  void stop(const Channel& channel);
  void moveTo(const Channel& channel, const glm::vec3& position);

  /// Stops every playback of `buffer` and lets go of it, so the buffer can be deleted.
  void release(ALuint buffer);

 private:
  struct Slot {
    ALuint source;
    std::uint64_t playback;
  };

  Slot& freeSlot();
  /// The slot that still carries the channel's playback, or null.
  const Slot* carrier(const Channel& channel) const;

  std::vector<Slot> slots;
  std::uint64_t playbacksStarted = 0;
};

}  // namespace Vexa
