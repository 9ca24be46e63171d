#pragma once

#include <optional>
#include <string>

#include "Program.h"
#include "ReplayRunner.h"

namespace Vexa::replay {

/// What vexa_replay was asked to do, from its command line: play REPLAY, or
/// record into FILE.
struct ReplayOptions {
  /// The replay to play, or the file to record into.
  std::string replayFile;
  bool record = false;
  /// The fixed frame time of a recording; a replay brings its own.
  double frameTime = 1.0 / 60.0;
  /// Where state lines go instead of the standard output.
  std::optional<std::string> stateFile;
  RunOptions run;

  /// Reads the runner's command line with `program`, which ends a malformed one.
  static ReplayOptions read(tools::Program& program, int argc, char** argv);
};

/// The options every player of runs shares: --level, --frames and --watch.
void addRunOptions(tools::Program& program, RunOptions& run);

}  // namespace Vexa::replay
