#pragma once

#include "Journey.h"
#include "LevelMap.h"
#include "LevelPlan.h"

namespace Vexa::bot {

/// Level 1: hops to the arena, clears it, drops onto the lowered elevator,
/// beats the wave that falls onto it, takes the ruby, rides the elevator up and
/// walks to the finish.
class Level1Plan final : public LevelPlan {
 public:
  explicit Level1Plan(const LevelMap& map);
  void play(const BotView& view, Pilot& pilot) override;
  void respawned() override;

 private:
  enum class Stage { ToElevator, Wave, ToFinish };

  void playWave(const BotView& view, Pilot& pilot);
  void playRuby(const BotView& view, Pilot& pilot);
  /// Whether enemies knocked off the elevator are still on their way out of play.
  bool waveStillFalling(const BotView& view) const;

  Stage stage = Stage::ToElevator;
  Journey toElevator;
  /// The fight on the lowered elevator.
  Fighter elevatorFighter;
  Course toFinish;
  float elevatorTop;
  /// Where the ruby shows, over the lowered elevator's middle.
  glm::vec3 rubyPlace;
  /// Where the player waits for the ruby: on the elevator, aside.
  glm::vec3 rubyWatch;
  /// The elevator has risen once the player stands this high.
  float risenHeight;
  /// The frame the elevator's wave was seen to start falling.
  long waveFrame = -1;
};

}  // namespace Vexa::bot
