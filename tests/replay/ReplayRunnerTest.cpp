#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#include "ReplayRunner.h"
#include "platform/Calendar.h"
#include "platform/Clock.h"
#include "support/PngPicture.h"
#include "support/RecordingLevel.h"
#include "support/ScriptedInput.h"
// Last: X11's macros (None, Bool, Status) would meet names of ours.
#include <X11/Xutil.h>

// GLFW's native access to its X11 window, declared as glfw3native.h does; that
// header would also want the headers of Xrandr, which nothing else here needs.
extern "C" Display* glfwGetX11Display(void);
extern "C" ::Window glfwGetX11Window(GLFWwindow* window);

namespace Vexa::replay {
namespace {

using test::RecordingLevel;

/// Everything a level was asked, and the clock and calendar it saw at each update.
struct LevelCalls {
  std::vector<double> updates;
  std::vector<glm::vec3> moves;
  std::vector<std::pair<float, float>> rotations;
  int jumps = 0;
  int swings = 0;
  std::vector<double> clock;
  std::vector<std::time_t> calendar;

  bool operator==(const LevelCalls& other) const {
    return updates == other.updates && moves == other.moves && rotations == other.rotations &&
           jumps == other.jumps && swings == other.swings && clock == other.clock &&
           calendar == other.calendar;
  }
};

Replay parsed(const std::string& text) {
  std::istringstream stream(text);
  std::string error;
  auto replay = parseReplay(stream, error);
  EXPECT_TRUE(replay) << error;
  return replay.value_or(Replay{});
}

/// Runs the replay runner with recording levels, screenshots going to a folder of
/// the test's own, with small
/// shadow targets: Mesa's software renderer pays for every texel.
class ReplayRunnerTest : public testing::Test {
 protected:
  ReplayRunnerTest() { options.shadowMapSize = 64; }

  /// A runner whose levels write their calls into `calls` and run `onUpdate`.
  ReplayRunner runner() {
    calls.clear();
    LevelFactory factory = [this](int index, PhysicsWorld& physics, float, float) {
      return std::make_unique<RecordingLevel>(index, physics, [this](RecordingLevel& level) {
        LevelCalls& seen = calls[level.number];
        seen.updates = level.updates;
        seen.moves = level.moves;
        seen.rotations.clear();
        for (const auto& rotation : level.rotations) {
          seen.rotations.emplace_back(rotation.pitchChange, rotation.yawChange);
        }
        seen.jumps = level.jumps;
        seen.swings = level.swings;
        seen.clock.push_back(Clock::now());
        seen.calendar.push_back(Calendar::seconds());
        onUpdate(level);
      });
    };
    return ReplayRunner(options, factory, stateLines);
  }

  std::string play(const Replay& replay) {
    stateLines.str("");
    runner().play(replay);
    return stateLines.str();
  }

  /// Where screenshots go; removed with the test.
  std::string shot(const std::string& name) const { return (shots / name).string(); }

  struct ShotFolder {
    ShotFolder() { std::filesystem::create_directories(path); }
    ~ShotFolder() { std::filesystem::remove_all(path); }
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("vexa-replay-test-" + std::to_string(::getpid()));
  } shotFolder;
  const std::filesystem::path& shots = shotFolder.path;
  RunOptions options;
  std::function<void(RecordingLevel&)> onUpdate = [](RecordingLevel&) {};
  std::map<int, LevelCalls> calls;
  std::ostringstream stateLines;
};

TEST_F(ReplayRunnerTest, PlaysTheSameRunTwiceOnTheReplaysClockAndCalendar) {
  const Replay replay = parsed(
      "frame-time 0.5\ncalendar 1000\nlevel 2\n"
      "2 W\n1 A W click\n2 mouse 5 -10\n1 Space D\n");
  options.stateEvery = 2;
  const std::string first = play(replay);
  const std::map<int, LevelCalls> firstCalls = calls;
  EXPECT_EQ(play(replay), first);
  EXPECT_EQ(calls, firstCalls);

  ASSERT_EQ(calls.size(), 1u);
  const LevelCalls& level2 = calls.at(2);
  EXPECT_EQ(level2.updates.size(), 6u);
  EXPECT_EQ(level2.clock, (std::vector<double>{0.5, 1.0, 1.5, 2.0, 2.5, 3.0}));
  EXPECT_EQ(level2.calendar, (std::vector<std::time_t>{1000, 1001, 1001, 1002, 1002, 1003}));
  EXPECT_EQ(level2.moves[2], glm::vec3(-Controls::moveStep, 0.0f, -Controls::moveStep) * 0.5f);
  EXPECT_EQ(level2.rotations, (std::vector<std::pair<float, float>>{{2.0f, -1.0f}, {2.0f, -1.0f}}));
  EXPECT_EQ(level2.jumps, 1);
  EXPECT_EQ(level2.swings, 1);
  EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 3) << first;
  EXPECT_EQ(first.rfind("{\"frame\":2,\"level\":2,\"floatMode\":true,", 0), 0u) << first;
  EXPECT_NE(first.find("\"caption\":\"Vexa's Voyage | FPS: 2 |"), std::string::npos) << first;
}

TEST_F(ReplayRunnerTest, EndsAtTheReplaysEndTheFrameLimitOrEscape) {
  const Replay replay = parsed("frame-time 0.02\ncalendar 0\n3 W\n1 Escape\n4 S\n");
  ReplayRunner untilEscape = runner();
  untilEscape.play(replay);
  EXPECT_EQ(untilEscape.framesPlayed(), 4);

  const Replay noEscape = parsed("frame-time 0.02\ncalendar 0\n5 W\n");
  ReplayRunner toTheEnd = runner();
  toTheEnd.play(noEscape);
  EXPECT_EQ(toTheEnd.framesPlayed(), 5);

  options.frameLimit = 2;
  ReplayRunner limited = runner();
  limited.play(noEscape);
  EXPECT_EQ(limited.framesPlayed(), 2);
}

TEST_F(ReplayRunnerTest, ARecordingReplaysToTheSameCalls) {
  auto device = std::make_unique<test::ScriptedInput>();
  test::ScriptedInput& input = *device;
  input.mouseX = 300;
  onUpdate = [&input](RecordingLevel& level) {
    switch (level.updates.size()) {
      case 1:
        input.held = {Key::W};
        break;
      case 3:
        input.held = {Key::W, Key::Space};
        input.mouseButtonHeld = true;
        input.mouseX += 7;
        break;
      case 4:
        input.held = {Key::Left};
        input.mouseButtonHeld = false;
        input.mouseY -= 3;
        break;
      case 6:
        input.held = {Key::Escape};
        break;
    }
  };
  const Replay recorded = runner().record(std::move(device), 1.0 / 60.0, 1234);
  const std::map<int, LevelCalls> live = calls;
  ASSERT_EQ(live.at(1).updates.size(), 6u) << "Escape ends the frame it is seen in";

  std::stringstream file;
  writeReplay(file, recorded);
  onUpdate = [](RecordingLevel&) {};
  EXPECT_EQ(play(parsed(file.str())), "");
  EXPECT_EQ(calls, live) << file.str();
}

/// The colour at the centre of a PNG and its size.
std::pair<std::array<int, 2>, test::Rgb> pngCentre(const std::string& path) {
  const test::PngPicture picture(path);
  if (picture.width() == 0) return {};
  return {{picture.width(), picture.height()}, picture.centre()};
}

TEST_F(ReplayRunnerTest, DrawingOnlyThePhotographedFramesChangesNoStateLine) {
  const Replay replay = parsed("frame-time 0.02\ncalendar 0\n4 W\n");
  options.stateEvery = 1;
  options.screenshots = {{2, shot("second.png")}, {3, shot("third.png")}, {9, shot("never.png")}};
  onUpdate = [](RecordingLevel& level) {
    level.objectsToReport = static_cast<int>(level.updates.size());
    const float green = level.updates.size() == 2 ? 1.0f : 0.0f;
    glClearColor(1.0f - green, green, 0.0f, 1.0f);
  };
  const std::string everyFrameDrawn = play(replay);

  options.drawEveryFrame = false;
  stateLines.str("");
  ReplayRunner photographedOnly = runner();
  photographedOnly.play(replay);
  EXPECT_EQ(stateLines.str(), everyFrameDrawn);
  EXPECT_NE(everyFrameDrawn.find("drawn objects: 4"), std::string::npos) << everyFrameDrawn;
  EXPECT_EQ(photographedOnly.missedScreenshots(), std::vector<std::string>{shot("never.png")});
  const auto [width, height] = Window::PixelSize{Window::windowedWidth, Window::windowedHeight};
  EXPECT_EQ(pngCentre(shot("second.png")),
            std::make_pair(std::array<int, 2>{width, height}, test::Rgb{0, 255, 0}));
  EXPECT_EQ(pngCentre(shot("third.png")).second, (test::Rgb{255, 0, 0}));

  std::ostringstream table;
  photographedOnly.printFrameCosts(table);
  const std::string number = R"(\s+\d+\.\d{3})";
  for (const auto& [phase, frames] : std::vector<std::pair<std::string, int>>{
           {"update", 4}, {"shadow pass", 2}, {"blur passes", 2}, {"main pass", 2}, {"swap", 4}}) {
    EXPECT_TRUE(std::regex_search(
        table.str(),
        std::regex("\n" + phase + "\\s+" + std::to_string(frames) + number + number + "\n")))
        << phase << " in\n"
        << table.str();
  }
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

/// The red at the centre of what the display holds of the current context's
/// window, which must be visible. The window keeps a backing store, so other
/// tests' windows that cover it do not take its place.
int presentedRed() {
  Display* display = glfwGetX11Display();
  const ::Window window = glfwGetX11Window(glfwGetCurrentContext());
  XSetWindowAttributes attributes{};
  attributes.backing_store = WhenMapped;
  XChangeWindowAttributes(display, window, CWBackingStore, &attributes);
  XImage* image = XGetImage(display, window, Window::windowedWidth / 2, Window::windowedHeight / 2,
                            1, 1, AllPlanes, ZPixmap);
  const auto red = static_cast<int>((XGetPixel(image, 0, 0) & image->red_mask) >> 16);
  XDestroyImage(image);
  return red;
}

// Each frame clears to a grey of its own; the next frame's update reads what the
// display shows in the window, which is the frame before once it was presented.
TEST_F(ReplayRunnerTest, AWatchedRunShowsEveryFrameForItsFrameTimeAnUnwatchedOneDoesNotWait) {
  const Replay replay = parsed("frame-time 0.1\ncalendar 0\n8 W\n");
  std::vector<std::chrono::steady_clock::time_point> updated;
  std::vector<int> shown;
  int visibleFrames = 0;
  onUpdate = [&](RecordingLevel& level) {
    updated.push_back(std::chrono::steady_clock::now());
    const bool visible = glfwGetWindowAttrib(glfwGetCurrentContext(), GLFW_VISIBLE) == GLFW_TRUE;
    visibleFrames += visible ? 1 : 0;
    if (visible && options.drawEveryFrame) shown.push_back(presentedRed());
    const float grey = static_cast<float>(level.updates.size()) * 10.0f / 255.0f;
    glClearColor(grey, grey, grey, 1.0f);
  };
  // From the first frame's update to the last one's: seven frames' time.
  const auto playedFor = [&] {
    updated.clear();
    shown.clear();
    play(replay);
    return updated.back() - updated.front();
  };
  const auto sevenFrames = std::chrono::duration<double>(0.7);

  options.pacedToWallClock = true;
  options.drawEveryFrame = true;
  EXPECT_GE(playedFor(), sevenFrames);
  EXPECT_EQ(visibleFrames, 8);
  ASSERT_EQ(shown.size(), 8u);
  for (std::size_t frame = 1; frame < 8; ++frame)
    EXPECT_EQ(shown[frame], 10 * frame) << "after frame " << frame;

  options.pacedToWallClock = false;
  options.drawEveryFrame = false;
  EXPECT_LT(playedFor(), sevenFrames);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

}  // namespace
}  // namespace Vexa::replay
