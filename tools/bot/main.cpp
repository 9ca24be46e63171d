// vexa_bot: plays the game from the first level to the end of the closing scene
// as a player would, on the replay runner's simulated clock, and writes the
// replay of what it played. It reports the time it spent in each level.
#include <chrono>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "Bot.h"
#include "Program.h"
#include "ReplayOptions.h"
#include "ReplayRunner.h"
#include "app/GameLevels.h"

using namespace Vexa;

namespace {

constexpr std::time_t defaultCalendar = 1700000000;

struct BotOptions {
  std::string replayFile;
  std::time_t calendar = defaultCalendar;
  std::optional<std::string> stateFile;
  replay::RunOptions run;

  static BotOptions read(tools::Program& program, int argc, char** argv) {
    BotOptions options;
    options.run.drawEveryFrame = false;
    replay::addRunOptions(program, options.run);
    program
        .option("calendar", {"SECONDS"},
                "the calendar time the game starts at (default " + std::to_string(defaultCalendar) +
                    "): it seeds the enemies' choices",
                [&](const auto& words) {
                  options.calendar =
                      static_cast<std::time_t>(program.whole(words[0], "the calendar"));
                })
        .option("state-file", {"FILE"}, "write a state line after every frame to FILE",
                [&](const auto& words) {
                  options.stateFile = words[0];
                  options.run.stateEvery = 1;
                })
        .operands(1, 1, [&](const auto& words) { options.replayFile = words[0]; });
    program.read(argc, argv);
    return options;
  }
};

/// Simulated and wall seconds per level, from the level each state line shows.
class LevelTimes {
 public:
  void see(const bot::BotView& view) {
    const auto now = std::chrono::steady_clock::now();
    if (view.level != level) {
      report(view.frame, now);
      level = view.level;
      firstFrame = view.frame;
      wallStart = now;
    }
  }
  void report(long frame, std::chrono::steady_clock::time_point now) const {
    if (level == 0) return;
    std::cout << "level " << level << ": "
              << static_cast<double>(frame - firstFrame) * bot::Bot::frameTime << " s simulated, "
              << std::chrono::duration<double>(now - wallStart).count() << " s wall\n";
  }

 private:
  int level = 0;
  long firstFrame = 0;
  std::chrono::steady_clock::time_point wallStart;
};

}  // namespace

int main(int argc, char** argv) {
  tools::Program program("vexa_bot", {"REPLAY [options]"},
                         "Plays the game from level 1 to the end of the closing scene as a player "
                         "would, from\nthe state lines alone, and writes the replay of its run "
                         "into REPLAY.");
  const BotOptions options = BotOptions::read(program, argc, argv);
  // Both files are opened before the run, so that a path that cannot be written
  // fails at once rather than after minutes of play.
  std::ofstream file(options.replayFile);
  if (!file) program.fail("could not write " + options.replayFile);
  std::ofstream stateFile;
  if (options.stateFile) {
    stateFile.open(*options.stateFile);
    if (!stateFile) program.fail("could not write " + *options.stateFile);
  }
  replay::ReplayRunner runner(options.run, createGameLevel, stateFile);
  LevelTimes times;
  long lastFrame = 0;
  replay::Replay played;
  try {
    played = bot::Bot::play(runner, options.calendar, [&](const bot::BotView& view) {
      times.see(view);
      lastFrame = view.frame;
    });
  } catch (const std::runtime_error& error) {
    program.fail(error.what());
  }
  times.report(lastFrame, std::chrono::steady_clock::now());
  replay::writeReplay(file, played);
  if (!file.flush()) program.fail("could not write " + options.replayFile);
  std::cout << "played " << played.frameCount() << " frames into " << options.replayFile << "\n";
  runner.printFrameCosts(std::cout);
}
