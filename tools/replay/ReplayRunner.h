#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "FrameCosts.h"
#include "FramePacing.h"
#include "Replay.h"
#include "app/Application.h"

namespace Vexa::replay {

/// What a run shows and reports besides playing.
struct RunOptions {
  /// Overrides the replay's start level.
  std::optional<int> startLevel;
  /// The run ends after this many frames at the latest.
  std::optional<long> frameLimit;
  /// A state line after every this many frames; 0 writes none.
  long stateEvery = 0;
  /// PNG files to write, by the frame (from 1) they show.
  std::map<long, std::string> screenshots;
  /// False draws only the frames that are photographed or listed here.
  bool drawEveryFrame = true;
  /// True holds each frame for its frame time of wall clock, as a recording does,
  /// so the run can be watched at its own pace.
  bool pacedToWallClock = false;
  /// Frames drawn although the run draws only those photographed.
  std::set<long> drawnFrames;
  GLsizei shadowMapSize = ShadowBuffers::gameSize;
};

/// Runs the real application on a simulated clock: every frame lasts the frame
/// time exactly and the calendar counts on from its start with the frames, so a
/// run depends on nothing but its input. The input is a replay's, or a live one
/// that is recorded as it is played.
class ReplayRunner final : private FrameObserver {
 public:
  /// State lines go to `stateLines`, which must outlive the runner.
  ReplayRunner(RunOptions options, LevelFactory levels, std::ostream& stateLines);

  /// Plays `replay` until its last frame, the frame limit, Escape or the end of
  /// the last level, as fast as the frames go unless paced.
  void play(const Replay& replay);

  /// Plays from `input` (null: the window's keyboard and mouse) with frames of
  /// `frameTime` paced to the wall clock, the calendar starting at
  /// `calendarStart`, until the frame limit, Escape or the end of the last
  /// level. Returns the replay of what was played.
  Replay record(std::unique_ptr<Input> input, double frameTime, std::time_t calendarStart);

  /// Decides a frame's input from the state line of the frame before it (for the
  /// first frame, of the game as it starts).
  using Driver = std::function<FrameInput(const std::string& stateLine)>;

  /// Plays with the input `driver` decides, on the simulated clock and as fast as
  /// the frames go unless paced, the calendar starting at `calendarStart`, until the frame
  /// limit, Escape or the end of the last level. Returns the replay of what was
  /// played, which plays the same run again.
  Replay drive(const Driver& driver, double frameTime, std::time_t calendarStart);

  long framesPlayed() const { return frame; }
  /// The screenshots whose frame the last run did not reach.
  std::vector<std::string> missedScreenshots() const;
  void printFrameCosts(std::ostream& out) const { costs.print(out); }
  const FrameCosts& frameCosts() const { return costs; }

 private:
  void run(const Replay& timing, std::unique_ptr<Input> input, std::optional<long> lastFrame,
           std::function<void()> beforeEachFrame, bool paced);
  bool drawsFrame() const override;

  void frameBegins() override;
  void phaseEnded(Phase phase) override;
  bool frameEnded() override;

  RunOptions options;
  LevelFactory levels;
  std::ostream& stateLines;
  std::unique_ptr<Application> application;
  std::function<void()> beforeFrame;
  std::optional<long> lastFrame;
  std::optional<FramePacing> pacing;
  long frame = 0;
  FrameCosts costs;
};

}  // namespace Vexa::replay
