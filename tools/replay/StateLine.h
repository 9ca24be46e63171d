#pragma once

#include <string>

#include "scene/LevelState.h"

namespace Vexa {
class Application;
}

namespace Vexa::replay {

/// What can be seen of the game after a frame, apart from the level's own state.
struct GameState {
  long frame = 0;
  int levelIndex = 0;
  bool floatMode = false;
  std::string caption;
  /// Null once the last level is left behind.
  const LevelState* level = nullptr;
};

/// One line of JSON, without its line end; floats with four decimals.
std::string stateLine(const GameState& state);

/// The line for `application` as it stands after frame `frame`.
std::string stateLine(long frame, const Application& application);

}  // namespace Vexa::replay
