#include "ReplayRunner.h"

#include <GL/glew.h>

#include <cmath>
#include <ostream>

#include "ReplayInput.h"
#include "Screenshot.h"
#include "StateLine.h"
#include "platform/Calendar.h"
#include "platform/Clock.h"

namespace Vexa::replay {

namespace {

/// Replaces the game's clock and calendar with ones that count the frames begun,
/// for as long as it lives.
class SimulatedTime {
 public:
  SimulatedTime(const long& framesBegun, double frameTime, std::time_t calendarStart) {
    const auto seconds = [&framesBegun, frameTime] {
      return static_cast<double>(framesBegun) * frameTime;
    };
    Clock::use(seconds);
    Calendar::use([seconds, calendarStart] {
      return calendarStart + static_cast<std::time_t>(std::floor(seconds()));
    });
  }
  ~SimulatedTime() {
    Clock::use(nullptr);
    Calendar::use(nullptr);
  }
  SimulatedTime(const SimulatedTime&) = delete;
  SimulatedTime& operator=(const SimulatedTime&) = delete;
};

bool isDrawingPhase(FrameObserver::Phase phase) {
  return phase == FrameObserver::Phase::ShadowPass || phase == FrameObserver::Phase::Blur ||
         phase == FrameObserver::Phase::MainPass;
}

}  // namespace

ReplayRunner::ReplayRunner(RunOptions options, LevelFactory levels, std::ostream& stateLines)
    : options(std::move(options)), levels(std::move(levels)), stateLines(stateLines) {}

void ReplayRunner::play(const Replay& replay) {
  auto input = std::make_unique<ReplayInput>(replay);
  ReplayInput& frames = *input;
  const long replayEnd = replay.frameCount();
  run(
      replay, std::move(input), std::min(options.frameLimit.value_or(replayEnd), replayEnd),
      [&frames] { frames.advance(); }, options.pacedToWallClock);
}

Replay ReplayRunner::record(std::unique_ptr<Input> input, double frameTime,
                            std::time_t calendarStart) {
  Replay recorded{frameTime, calendarStart, options.startLevel.value_or(1), {}};
  InputRecorder recorder;
  run(
      recorded, std::move(input), options.frameLimit,
      [&] { recorded.append(recorder.sample(application->input())); }, true);
  return recorded;
}

Replay ReplayRunner::drive(const Driver& driver, double frameTime, std::time_t calendarStart) {
  Replay driven{frameTime, calendarStart, options.startLevel.value_or(1), {}};
  auto input = std::make_unique<FrameByFrameInput>();
  FrameByFrameInput& frames = *input;
  run(
      driven, std::move(input), options.frameLimit,
      [&] {
        const FrameInput next = driver(stateLine(frame - 1, *application));
        frames.play(next);
        driven.append(next);
      },
      options.pacedToWallClock);
  return driven;
}

void ReplayRunner::run(const Replay& timing, std::unique_ptr<Input> input, std::optional<long> last,
                       std::function<void()> beforeEachFrame, bool paced) {
  frame = 0;
  lastFrame = last;
  beforeFrame = std::move(beforeEachFrame);
  pacing.reset();
  if (paced) pacing.emplace(timing.frameTime);
  const SimulatedTime time(frame, timing.frameTime, timing.calendarStart);
  application = std::make_unique<Application>(WindowMode::Windowed, levels, std::move(input),
                                              options.shadowMapSize,
                                              options.startLevel.value_or(timing.startLevel));
  application->observe(this);
  application->run();
  application.reset();
}

std::vector<std::string> ReplayRunner::missedScreenshots() const {
  std::vector<std::string> missed;
  for (auto shot = options.screenshots.upper_bound(frame); shot != options.screenshots.end();
       ++shot) {
    missed.push_back(shot->second);
  }
  return missed;
}

bool ReplayRunner::drawsFrame() const {
  return options.drawEveryFrame || options.screenshots.count(frame) != 0 ||
         options.drawnFrames.count(frame) != 0;
}

// An undrawn frame still culls and counts its objects, so the caption, and with it
// the state lines, are the same whether a frame is drawn or not.
void ReplayRunner::frameBegins() {
  ++frame;
  if (pacing) pacing->frameBegins();
  beforeFrame();
  costs.start();
}

void ReplayRunner::phaseEnded(Phase phase) {
  costs.phaseEnded(phase, drawsFrame() || !isDrawingPhase(phase));
  if (phase != Phase::MainPass) return;
  if (const auto shot = options.screenshots.find(frame); shot != options.screenshots.end()) {
    writeScreenshot(application->window(), shot->second);
    costs.start();
  }
}

bool ReplayRunner::frameEnded() {
  costs.frameEnded();
  if (options.stateEvery > 0 && frame % options.stateEvery == 0) {
    stateLines << stateLine(frame, *application) << '\n';
  }
  if (pacing) pacing->frameShown();
  return !lastFrame || frame < *lastFrame;
}

}  // namespace Vexa::replay
