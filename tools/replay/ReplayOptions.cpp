#include "ReplayOptions.h"

#include <cstdlib>

namespace Vexa::replay {

namespace {

void addScreenshot(const tools::Program& program, const std::string& request, RunOptions& run) {
  const auto colon = request.find(':');
  char* end = nullptr;
  const long frame = std::strtol(request.c_str(), &end, 10);
  if (colon == std::string::npos || end != request.c_str() + colon || frame < 1 ||
      colon + 1 == request.size()) {
    program.refuse("a screenshot is FRAME:FILE.png with FRAME from 1, not " + request);
  }
  run.screenshots[frame] = request.substr(colon + 1);
}

}  // namespace

void addRunOptions(tools::Program& program, RunOptions& run) {
  program
      .option("level", {"N"},
              "start at level N (1 to " + std::to_string(Application::lastLevel) + ")",
              [&](const auto& words) {
                const long level = program.whole(words[0], "the level");
                if (level > Application::lastLevel) {
                  program.refuse("there are levels 1 to " + std::to_string(Application::lastLevel) +
                                 " only");
                }
                run.startLevel = static_cast<int>(level);
              })
      .option("frames", {"N"}, "end after N frames at the latest",
              [&](const auto& words) {
                run.frameLimit = program.whole(words[0], "the number of frames");
              })
      .option("watch", {}, "draw every frame and show it for its frame time of wall clock",
              [&](const auto&) {
                run.drawEveryFrame = true;
                run.pacedToWallClock = true;
              });
}

ReplayOptions ReplayOptions::read(tools::Program& program, int argc, char** argv) {
  ReplayOptions options;
  bool frameTimeGiven = false;
  bool undrawn = false;
  program
      .option("record", {"FILE"}, "play live with the keyboard and mouse and record into FILE",
              [&](const auto& words) {
                options.record = true;
                options.replayFile = words[0];
              })
      .option("frame-time", {"SECONDS"}, "the fixed frame time of a recording (default 1/60)",
              [&](const auto& words) {
                options.frameTime = program.number(words[0], "the frame time");
                if (options.frameTime <= 0.0) program.refuse("the frame time must be above 0");
                frameTimeGiven = true;
              });
  addRunOptions(program, options.run);
  program
      .option("state", {"N"}, "write a JSON line of state after every N frames",
              [&](const auto& words) {
                options.run.stateEvery = program.whole(words[0], "the state interval");
              })
      .option("state-file", {"FILE"}, "write the state lines to FILE, not standard output",
              [&](const auto& words) { options.stateFile = words[0]; })
      .option("screenshot", {"FRAME:FILE"},
              "write the picture of frame FRAME as a PNG (repeatable)",
              [&](const auto& words) { addScreenshot(program, words[0], options.run); })
      .option("no-render", {}, "draw only the frames that are photographed",
              [&](const auto&) { undrawn = true; })
      .operands(0, 1, [&](const auto& words) {
        if (words.empty() && !options.record) program.refuse("no replay given");
        if (words.empty()) return;
        if (options.record) program.refuse("either play a replay or record one");
        options.replayFile = words[0];
      });
  program.read(argc, argv);
  if (undrawn && options.run.pacedToWallClock)
    program.refuse("--watch draws every frame; --no-render does not");
  if (undrawn) options.run.drawEveryFrame = false;
  if (frameTimeGiven && !options.record)
    program.refuse("--frame-time is for recording; a replay has its own");
  return options;
}

}  // namespace Vexa::replay
