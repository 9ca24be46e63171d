#pragma once

#include <optional>
#include <string>

#include "ReplayRunner.h"

namespace Vexa::replay {

/// What vexa_replay was asked to do, from its command line:
///   vexa_replay REPLAY [options]
///   vexa_replay --record FILE [--frame-time SECONDS] [options]
struct ReplayOptions {
  /// The replay to play, or the file to record into.
  std::string replayFile;
  bool record = false;
  /// The fixed frame time of a recording; a replay brings its own.
  double frameTime = 1.0 / 60.0;
  /// Where state lines go instead of the standard output.
  std::optional<std::string> stateFile;
  RunOptions run;

  /// Ends the program with the usage text and status 2 on a malformed command line.
  static ReplayOptions parse(int argc, char** argv);
};

}  // namespace Vexa::replay
