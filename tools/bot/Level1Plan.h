#pragma once

#include "Journey.h"
#include "LevelPlan.h"

namespace Vexa::bot {

/// Level 1: hops to the arena, clears it, drops onto the lowered elevator,
/// beats the wave that falls onto it, takes the ruby, rides the elevator up and
/// walks to the finish.
class Level1Plan final : public LevelPlan {
 public:
  Level1Plan();
  void play(const BotView& view, Pilot& pilot) override;
  void respawned() override;

 private:
  enum class Stage { ToElevator, Wave, ToFinish };

  void playWave(const BotView& view, Pilot& pilot);
  void playRuby(const BotView& view, Pilot& pilot);
  /// Whether enemies knocked off the elevator are still on their way out of play.
  static bool waveStillFalling(const BotView& view);

  Stage stage = Stage::ToElevator;
  Journey toElevator;
  Fighter elevatorFighter;
  Course toFinish;
  /// The frame the elevator's wave was seen to start falling.
  long waveFrame = -1;
};

}  // namespace Vexa::bot
