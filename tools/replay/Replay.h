#pragma once

#include <ctime>
#include <iosfwd>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Input.h"

namespace Vexa::replay {

/// What the player does during one frame.
struct FrameInput {
  std::set<Key> keys;
  bool mouseButton = false;
  /// Cursor motion since the previous frame, in pixels.
  int mouseX = 0;
  int mouseY = 0;

  bool operator==(const FrameInput& other) const;
};

/// Consecutive frames of identical input.
struct Span {
  long frames = 0;
  FrameInput input;
};

/// A session of the game as plain text: every frame lasts `frameTime`, the
/// calendar starts at `calendarStart`, the game at `startLevel`, and the spans
/// give the input frame by frame.
struct Replay {
  double frameTime = 0.0;
  std::time_t calendarStart = 0;
  int startLevel = 1;
  std::vector<Span> spans;

  long frameCount() const;
  /// Adds one frame, lengthening the last span when its input is the same.
  void append(const FrameInput& input);
};

/// Every key the game polls, with its name in replays.
const std::vector<std::pair<Key, std::string>>& keyNames();

/// Reads a replay. On a malformed one returns nothing and sets `error` to what is
/// wrong, starting with "line N: " where a line is to blame.
std::optional<Replay> parseReplay(std::istream& text, std::string& error);

/// Writes `replay` in the form `parseReplay` reads, the frame time exactly.
void writeReplay(std::ostream& out, const Replay& replay);

}  // namespace Vexa::replay
