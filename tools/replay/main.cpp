// vexa_replay: plays the game from a replay file on a simulated clock, or records
// one while it is played, and reports state, pictures and the frames' cost.
#include <fstream>
#include <iostream>

#include "ReplayOptions.h"
#include "ReplayRunner.h"
#include "app/GameLevels.h"
#include "platform/Calendar.h"

using namespace Vexa;
using namespace Vexa::replay;

namespace {

Replay readReplay(const tools::Program& program, const std::string& path) {
  std::ifstream file(path);
  if (!file) program.fail("could not read " + path);
  std::string error;
  const auto replay = parseReplay(file, error);
  if (!replay) program.fail(path + ": " + error);
  return *replay;
}

void play(const tools::Program& program, const ReplayOptions& options, ReplayRunner& runner) {
  runner.play(readReplay(program, options.replayFile));
}

void record(const tools::Program& program, const ReplayOptions& options, ReplayRunner& runner) {
  std::ofstream file(options.replayFile);
  if (!file) program.fail("could not write " + options.replayFile);
  const Replay recorded = runner.record(nullptr, options.frameTime, Calendar::seconds());
  writeReplay(file, recorded);
  if (!file.flush()) program.fail("could not write " + options.replayFile);
  std::cout << "recorded " << recorded.frameCount() << " frames into " << options.replayFile
            << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  tools::Program program("vexa_replay",
                         {"REPLAY [options]", "--record FILE [--frame-time SECONDS] [options]"},
                         "Plays the game from a replay file on a simulated clock, or records one "
                         "while it is played,\nand reports state, pictures and the frames' cost.");
  const auto options = ReplayOptions::read(program, argc, argv);
  std::ofstream stateFile;
  if (options.stateFile) {
    stateFile.open(*options.stateFile);
    if (!stateFile) program.fail("could not write " + *options.stateFile);
  }
  ReplayRunner runner(options.run, createGameLevel, options.stateFile ? stateFile : std::cout);
  if (options.record) {
    record(program, options, runner);
  } else {
    play(program, options, runner);
  }
  runner.printFrameCosts(std::cout);
  const auto missed = runner.missedScreenshots();
  for (const std::string& screenshot : missed) {
    std::cerr << "vexa_replay: the run ended before the frame of " << screenshot << "\n";
  }
  return missed.empty() ? 0 : 1;
}
