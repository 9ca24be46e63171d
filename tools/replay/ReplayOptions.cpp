#include "ReplayOptions.h"

#include <cmath>
#include <cstdlib>
#include <iostream>

#include "CommandLine.h"

namespace Vexa::replay {

namespace {

[[noreturn]] void usage(const std::string& problem) {
  std::cerr << "vexa_replay: " << problem << "\n"
            << "usage: vexa_replay REPLAY [options]\n"
               "       vexa_replay --record FILE [--frame-time SECONDS] [options]\n"
               "  --level N                start at level N (1 to 4) instead of the replay's\n"
               "  --frames N               end after N frames at the latest\n"
               "  --state N                write a JSON line of state after every N frames\n"
               "  --state-file FILE        write the state lines to FILE, not standard output\n"
               "  --screenshot FRAME:FILE  write the picture of frame FRAME as a PNG (repeatable)\n"
               "  --no-render              draw only the frames that are photographed\n"
               "  --frame-time SECONDS     the fixed frame time of a recording (default 1/60)\n";
  std::exit(2);
}

void addScreenshot(const std::string& request, RunOptions& run) {
  const auto colon = request.find(':');
  char* end = nullptr;
  const long frame = std::strtol(request.c_str(), &end, 10);
  if (colon == std::string::npos || end != request.c_str() + colon || frame < 1 ||
      colon + 1 == request.size()) {
    usage("a screenshot is FRAME:FILE.png with FRAME from 1, not " + request);
  }
  run.screenshots[frame] = request.substr(colon + 1);
}

double parseFrameTime(const std::string& text) {
  char* end = nullptr;
  const double seconds = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !std::isfinite(seconds) || seconds <= 0.0) {
    usage("the frame time must be seconds above 0");
  }
  return seconds;
}

}  // namespace

ReplayOptions ReplayOptions::parse(int argc, char** argv) {
  viewer::CommandLine arguments(argc, argv, usage);
  ReplayOptions options;
  bool frameTimeGiven = false;
  while (arguments.more()) {
    const std::string option = arguments.word("argument");
    if (option == "--record") {
      if (!options.replayFile.empty()) usage("either play a replay or record one");
      options.record = true;
      options.replayFile = arguments.word("file to record into");
    } else if (option == "--frame-time") {
      options.frameTime = parseFrameTime(arguments.word("frame time"));
      frameTimeGiven = true;
    } else if (option == "--level") {
      const long level = arguments.positiveWhole("the level");
      if (level > Application::lastLevel) {
        usage("there are levels 1 to " + std::to_string(Application::lastLevel) + " only");
      }
      options.run.startLevel = static_cast<int>(level);
    } else if (option == "--frames") {
      options.run.frameLimit = arguments.positiveWhole("the number of frames");
    } else if (option == "--state") {
      options.run.stateEvery = arguments.positiveWhole("the state interval");
    } else if (option == "--state-file") {
      options.stateFile = arguments.word("state file");
    } else if (option == "--screenshot") {
      addScreenshot(arguments.word("screenshot"), options.run);
    } else if (option == "--no-render") {
      options.run.drawEveryFrame = false;
    } else if (option.rfind("--", 0) == 0) {
      usage("unknown option: " + option);
    } else if (!options.replayFile.empty()) {
      usage("either play a replay or record one");
    } else {
      options.replayFile = option;
    }
  }
  if (options.replayFile.empty()) usage("no replay given");
  if (frameTimeGiven && !options.record)
    usage("--frame-time is for recording; a replay has its own");
  return options;
}

}  // namespace Vexa::replay
