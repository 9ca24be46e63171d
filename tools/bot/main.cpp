// vexa_bot: plays the game from the first level to the end of the closing scene
// as a player would, on the replay runner's simulated clock, and writes the
// replay of what it played. It reports the time it spent in each level.
#include <chrono>
#include <fstream>
#include <iostream>

#include "Bot.h"
#include "CommandLine.h"
#include "ReplayRunner.h"
#include "app/GameLevels.h"

using namespace Vexa;

namespace {

constexpr std::time_t defaultCalendar = 1700000000;

[[noreturn]] void usage(const std::string& problem) {
  std::cerr << "vexa_bot: " << problem << "\n"
            << "usage: vexa_bot REPLAY [options]\n"
               "  --calendar SECONDS  the calendar time the game starts at (default "
            << defaultCalendar
            << "): it seeds the enemies' choices\n"
               "  --level N           start at level N (1 to 4)\n"
               "  --frames N          give up after N frames\n"
               "  --state-file FILE   write a state line after every frame to FILE\n";
  std::exit(2);
}

[[noreturn]] void fail(const std::string& message) {
  std::cerr << "vexa_bot: " << message << std::endl;
  std::exit(1);
}

struct BotOptions {
  std::string replayFile;
  std::time_t calendar = defaultCalendar;
  std::optional<std::string> stateFile;
  replay::RunOptions run;

  static BotOptions parse(int argc, char** argv) {
    viewer::CommandLine arguments(argc, argv, usage);
    BotOptions options;
    options.run.drawEveryFrame = false;
    while (arguments.more()) {
      const std::string option = arguments.word("argument");
      if (option == "--calendar") {
        options.calendar = static_cast<std::time_t>(arguments.positiveWhole("calendar seconds"));
      } else if (option == "--level") {
        const long level = arguments.positiveWhole("the level");
        if (level > Application::lastLevel) usage("there are levels 1 to 4 only");
        options.run.startLevel = static_cast<int>(level);
      } else if (option == "--frames") {
        options.run.frameLimit = arguments.positiveWhole("the number of frames");
      } else if (option == "--state-file") {
        options.stateFile = arguments.word("state file");
        options.run.stateEvery = 1;
      } else if (option.rfind("--", 0) == 0 || !options.replayFile.empty()) {
        usage("unexpected argument: " + option);
      } else {
        options.replayFile = option;
      }
    }
    if (options.replayFile.empty()) usage("no replay file given");
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
  const BotOptions options = BotOptions::parse(argc, argv);
  std::ofstream stateFile;
  if (options.stateFile) {
    stateFile.open(*options.stateFile);
    if (!stateFile) fail("could not write " + *options.stateFile);
  }
  replay::ReplayRunner runner(options.run, createGameLevel, stateFile);
  LevelTimes times;
  long lastFrame = 0;
  const replay::Replay played =
      bot::Bot::play(runner, options.calendar, [&](const bot::BotView& view) {
        times.see(view);
        lastFrame = view.frame;
      });
  times.report(lastFrame, std::chrono::steady_clock::now());
  std::ofstream file(options.replayFile);
  replay::writeReplay(file, played);
  if (!file.flush()) fail("could not write " + options.replayFile);
  std::cout << "played " << played.frameCount() << " frames into " << options.replayFile << "\n";
}
