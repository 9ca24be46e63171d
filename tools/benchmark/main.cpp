// vexa_benchmark: what a frame of each level costs along the bot's kept run, what
// start-up and each level switch cost, and the peak resident memory, as one table.
// Levels 1 to 3 draw the last frames of their part of the run; the closing scene,
// which the run only passes through, is watched standing still from its start.
// Run it from the run-time folder (build/bin), with a display or under xvfb-run.

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "Program.h"
#include "ReplayRunner.h"
#include "app/GameLevels.h"

using namespace Vexa;
using namespace Vexa::replay;

namespace {

struct Arguments {
  std::string replayFile = "../../tests/bot/whole_game.replay";
  long drawnFrames = 300;
  double floorMilliseconds = 0.0;

  static Arguments read(tools::Program& program, int argc, char** argv) {
    Arguments arguments;
    program
        .option("frames", {"N"}, "draw N frames a level (default 300)",
                [&](const auto& words) {
                  arguments.drawnFrames = program.whole(words[0], "the number of frames");
                })
        .option("floor", {"MS"}, "the floor of a frame in milliseconds, for the ratio column",
                [&](const auto& words) {
                  arguments.floorMilliseconds = program.number(words[0], "the floor");
                })
        .operands(0, 1, [&](const auto& words) {
          if (!words.empty()) arguments.replayFile = words[0];
        });
    program.read(argc, argv);
    return arguments;
  }
};

Replay readReplay(const tools::Program& program, const std::string& path) {
  std::ifstream file(path);
  std::string error;
  const auto replay = parseReplay(file, error);
  if (!replay) program.fail(path + ": " + error);
  return *replay;
}

/// The level of every frame of `stateLines` (one line a frame, from frame 1).
std::vector<int> levelsOf(const std::string& stateLines) {
  static const std::regex level("\"level\":([0-9]+)");
  std::vector<int> levels;
  std::istringstream lines(stateLines);
  std::smatch match;
  for (std::string line; std::getline(lines, line);)
    if (std::regex_search(line, match, level)) levels.push_back(std::stoi(match[1]));
  return levels;
}

struct Spread {
  double median = 0.0;
  double high = 0.0;
};

Spread spreadOf(const std::vector<double>& samples) {
  if (samples.empty()) return {};
  return {percentile(samples, 0.5), percentile(samples, 0.95)};
}

/// The drawn frames' phases and whole-frame totals among `frames`.
void printLevelRow(int level, const std::vector<FrameCosts::Frame>& frames, double floor) {
  std::vector<std::vector<double>> phases(FrameObserver::phaseCount);
  std::vector<double> totals;
  for (const FrameCosts::Frame& frame : frames) {
    if (std::any_of(frame.phases.begin(), frame.phases.end(), [](double ms) { return ms < 0.0; }))
      continue;
    double total = 0.0;
    for (std::size_t p = 0; p < frame.phases.size(); ++p) {
      phases[p].push_back(frame.phases[p]);
      total += frame.phases[p];
    }
    totals.push_back(total);
  }
  std::printf("%-6d %6zu", level, totals.size());
  for (const auto& samples : phases) {
    const Spread spread = spreadOf(samples);
    std::printf(" %7.2f/%-7.2f", spread.median, spread.high);
  }
  const Spread frame = spreadOf(totals);
  std::printf(" %7.1f/%-7.1f", frame.median, frame.high);
  if (floor > 0.0) std::printf(" %6.2f", frame.median / floor);
  std::printf("\n");
}

/// "N ms: shaders a, models b, ..., other z", where other is what no cause took.
void printLoading(const std::string& what, double milliseconds, const LoadTimes::Totals& loads) {
  std::printf("%-34s %6.0f ms:", what.c_str(), milliseconds);
  double causes = 0.0;
  for (int cause = 0; cause < LoadTimes::causeCount; ++cause) {
    std::printf(" %s %.0f,", LoadTimes::name(static_cast<LoadTimes::Cause>(cause)), loads[cause]);
    causes += loads[cause];
  }
  std::printf(" other %.0f\n", milliseconds - causes);
}

std::vector<FrameCosts::Frame> play(const Replay& replay, RunOptions options,
                                    std::string* stateLines = nullptr) {
  std::ostringstream lines;
  ReplayRunner runner(std::move(options), createGameLevel, lines);
  runner.play(replay);
  if (stateLines) *stateLines = lines.str();
  return runner.frameCosts().frames();
}

}  // namespace

int main(int argc, char** argv) {
  tools::Program program("vexa_benchmark", {"[REPLAY] [options]"},
                         "Prints what a frame of each level costs along REPLAY (default: the "
                         "bot's kept run),\nwhat start-up and each level switch cost, and the "
                         "peak resident memory.");
  const Arguments arguments = Arguments::read(program, argc, argv);
  const Replay route = readReplay(program, arguments.replayFile);

  // Undrawn, the run tells where each level lies and what start-up and the
  // switches cost without any drawing in the way. A frame's state line is written
  // after its level switch, so it already names the new level.
  RunOptions survey;
  survey.drawEveryFrame = false;
  survey.stateEvery = 1;
  std::ostringstream surveyLines;
  ReplayRunner runner(survey, createGameLevel, surveyLines);
  runner.play(route);
  const std::vector<int> levels = levelsOf(surveyLines.str());
  const std::vector<FrameCosts::Frame>& surveyed = runner.frameCosts().frames();

  RunOptions drawn;
  drawn.drawEveryFrame = false;
  for (int level = 1; level <= 3; ++level) {
    const auto last = std::find(levels.rbegin(), levels.rend(), level);
    if (last == levels.rend()) continue;
    const long end = static_cast<long>(levels.rend() - last);  // frame number of its last frame
    for (long f = std::max(1L, end - arguments.drawnFrames + 1); f <= end; ++f)
      if (levels[static_cast<std::size_t>(f - 1)] == level) drawn.drawnFrames.insert(f);
  }
  const std::vector<FrameCosts::Frame> routeFrames = play(route, drawn);

  std::istringstream still("frame-time 0.016666666666666666\ncalendar 1700000000\nlevel 4\n" +
                           std::to_string(arguments.drawnFrames) + "\n");
  std::string error;
  const auto closing = parseReplay(still, error);
  const std::vector<FrameCosts::Frame> closingFrames = play(*closing, RunOptions{});

  std::printf("Frames at 1024x768, shadow map 2048x2048, in ms as median/95th percentile:\n");
  std::printf("%-6s %6s %15s %15s %15s %15s %15s %15s %6s\n", "level", "frames", "update", "shadow",
              "blur", "main", "swap", "frame", "/floor");
  for (int level = 1; level <= 3; ++level) {
    std::vector<FrameCosts::Frame> ofLevel;
    for (std::size_t f = 0; f < routeFrames.size() && f < levels.size(); ++f)
      if (levels[f] == level) ofLevel.push_back(routeFrames[f]);
    printLevelRow(level, ofLevel, arguments.floorMilliseconds);
  }
  printLevelRow(4, closingFrames, arguments.floorMilliseconds);

  printLoading("start-up to level 1's first frame", runner.frameCosts().startupMilliseconds(),
               runner.frameCosts().startupLoads());
  for (std::size_t f = 1; f < levels.size() && f < surveyed.size(); ++f)
    if (levels[f] != levels[f - 1])
      printLoading(
          "level switch " + std::to_string(levels[f - 1]) + " -> " + std::to_string(levels[f]),
          surveyed[f].afterSwap, surveyed[f].loads);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak resident memory: %.0f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
  return 0;
}
