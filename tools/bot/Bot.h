#pragma once

#include <ctime>
#include <functional>
#include <memory>
#include <optional>

#include "BotView.h"
#include "LevelMap.h"
#include "LevelPlan.h"
#include "Replay.h"
#include "ReplayRunner.h"

namespace Vexa::bot {

/// Plays the game from its state lines: each frame it reads what the player sees
/// and answers with the keys and mouse motion for the next frame, following the
/// plan of the level it is in, which follows the level's map.
class Bot {
 public:
  /// The bot plays at 60 frames a second of game time.
  static constexpr double frameTime = 1.0 / 60.0;
  /// What the bot is shown each frame, for whoever watches it play.
  using Watcher = std::function<void(const BotView&)>;

  /// A new bot plays the game on `runner` with the calendar starting at
  /// `calendarStart`; returns the replay of its run. Throws std::runtime_error, before
  /// the game starts, when the levels' maps cannot be read.
  static replay::Replay play(replay::ReplayRunner& runner, std::time_t calendarStart,
                             const Watcher& watch = nullptr);

  /// Reads the levels' maps from the manifest (see LevelMap::readAll).
  Bot();
  replay::FrameInput decide(const BotView& view);

 private:
  std::unique_ptr<LevelPlan> planFor(int level) const;

  std::vector<LevelMap> maps;
  std::unique_ptr<LevelPlan> plan;
  int planLevel = 0;
  std::optional<glm::vec3> lastPosition;
};

}  // namespace Vexa::bot
