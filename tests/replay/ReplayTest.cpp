#include <gtest/gtest.h>
#include <sys/wait.h>

#include <sstream>

#include "Replay.h"
#include "ReplayInput.h"
#include "StateLine.h"
#include "model/ScratchFolder.h"
#include "support/ProgramRun.h"
#include "support/ScriptedInput.h"

namespace Vexa::replay {
namespace {

std::optional<Replay> parsed(const std::string& text, std::string& error) {
  std::istringstream stream(text);
  return parseReplay(stream, error);
}

TEST(ReplayTest, ReadsAHandWrittenReplayAndWritesItBackExactly) {
  const std::string text =
      "# the elevator, twice\n"
      "frame-time 0.016666666666666666\n"
      "calendar 1700000000   # a Tuesday\n"
      "level 3\n"
      "\n"
      "60 W\n"
      "  1 Space\n"
      "30 W D mouse 5 -2\n"
      "10 click\n"
      "20\n"
      "2 Escape\n";
  std::string error;
  const auto replay = parsed(text, error);
  ASSERT_TRUE(replay) << error;
  EXPECT_EQ(replay->frameTime, 1.0 / 60.0);
  EXPECT_EQ(replay->calendarStart, 1700000000);
  EXPECT_EQ(replay->startLevel, 3);
  EXPECT_EQ(replay->frameCount(), 123);
  ASSERT_EQ(replay->spans.size(), 6u);
  EXPECT_EQ(replay->spans[2].input, (FrameInput{{Key::D, Key::W}, false, 5, -2}));
  EXPECT_EQ(replay->spans[3].input, (FrameInput{{}, true, 0, 0}));
  EXPECT_EQ(replay->spans[4].input, FrameInput{});

  std::stringstream written;
  writeReplay(written, *replay);
  const auto reread = parseReplay(written, error);
  ASSERT_TRUE(reread) << error;
  EXPECT_EQ(reread->frameTime, replay->frameTime);
  EXPECT_EQ(reread->calendarStart, replay->calendarStart);
  EXPECT_EQ(reread->startLevel, replay->startLevel);
  ASSERT_EQ(reread->spans.size(), replay->spans.size());
  for (std::size_t i = 0; i < replay->spans.size(); ++i) {
    EXPECT_EQ(reread->spans[i].frames, replay->spans[i].frames);
    EXPECT_EQ(reread->spans[i].input, replay->spans[i].input);
  }
}

TEST(ReplayTest, NamesTheLineOfEachMistake) {
  const std::string header = "frame-time 0.02\ncalendar 0\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {header + "5 W Q\n", "line 3: unknown key or word 'Q'"},
      {header + "5 w\n", "line 3: unknown key or word 'w'"},
      {header + "5 mouse 3\n", "line 3: mouse takes two whole numbers"},
      {header + "5 mouse 3 99999\n", "line 3: mouse takes two whole numbers"},
      {header + "0 W\n", "line 3: '0' is neither a setting nor a frame count"},
      {header + "W\n", "line 3: 'W' is neither a setting nor a frame count"},
      {header + "1 W\nlevel 2\n", "line 4: level must come before the first frames"},
      {header + "calendar 3\n", "line 3: calendar is given twice"},
      {"frame-time 0.02\n# no calendar\n1 W\n", "line 3: frame-time and calendar must come"},
      {"frame-time 0\n", "line 1: frame-time takes seconds above zero, not '0'"},
      {"frame-time 0.02 0.03\n", "line 1: frame-time takes one value"},
      {"calendar -1\n", "line 1: calendar takes whole seconds"},
      {"level 5\n", "line 1: level takes a level from 1 to 4, not '5'"},
      {header + "# nothing to play\n", "the replay has no frames"},
  };
  for (const auto& [text, message] : cases) {
    std::string error;
    EXPECT_FALSE(parsed(text, error)) << text;
    EXPECT_EQ(error.rfind(message, 0), 0u) << "got: " << error << "\nfor:\n" << text;
  }
}

TEST(ReplayTest, ARecordedInputPlaysBackFrameByFrame) {
  test::ScriptedInput device;
  device.mouseX = 100;
  device.mouseY = 50;
  InputRecorder recorder;
  Replay replay;
  const auto sampleAfter = [&](std::set<Key> keys, bool button, int x, int y) {
    device.held = std::move(keys);
    device.mouseButtonHeld = button;
    device.mouseX = x;
    device.mouseY = y;
    replay.append(recorder.sample(device));
  };
  sampleAfter({Key::W}, false, 100, 50);
  sampleAfter({Key::W}, false, 100, 50);
  sampleAfter({Key::W, Key::Space}, true, 103, 48);
  sampleAfter({Key::W, Key::Space}, true, 110, 46);
  sampleAfter({}, false, 110, 46);
  ASSERT_EQ(replay.spans.size(), 4u) << "identical frames share a span";
  EXPECT_EQ(replay.frameCount(), 5);
  EXPECT_EQ(replay.spans[0].frames, 2);
  EXPECT_EQ(replay.spans[2].input.mouseY, -2);

  ReplayInput played(replay);
  const std::vector<std::tuple<bool, bool, bool, int, int>> expected = {
      {true, false, false, 0, 0},
      {true, false, false, 0, 0},
      {true, true, true, 3, -2},
      {true, true, true, 10, -4},
      {false, false, false, 10, -4}};
  for (const auto& [w, space, button, x, y] : expected) {
    played.advance();
    int cursorX = 0;
    int cursorY = 0;
    played.mousePosition(cursorX, cursorY);
    EXPECT_EQ(std::make_tuple(played.keyDown(Key::W), played.keyDown(Key::Space),
                              played.leftMouseButtonDown(), cursorX, cursorY),
              std::make_tuple(w, space, button, x, y));
  }
}

TEST(ReplayTest, StateLineIsOneJsonObject) {
  LevelState level;
  level.playerPosition = {1.5f, -2.0f, 0.123456f};
  level.yaw = 90.0f;
  level.pitch = -12.25f;
  level.onGround = true;
  level.batState = "Swing";
  level.batVariant = 1;
  level.enemies = {{{3.0f, 4.0f, 5.0f}, 4, 214, 240, false},
                   {{0.0f, -100.0f, 0.0f}, 0, 0, 66, true}};
  level.triggeredEvents = {"Level1ElevatorEvent"};
  EXPECT_EQ(stateLine({120, 1, false, "say \"60\" \\ fps", &level}),
            "{\"frame\":120,\"level\":1,\"floatMode\":false,"
            "\"player\":[1.5000,-2.0000,0.1235],\"yaw\":90.0000,\"pitch\":-12.2500,"
            "\"onGround\":true,\"bat\":\"Swing\",\"batVariant\":1,\"enemies\":["
            "{\"position\":[3.0000,4.0000,5.0000],\"state\":4,\"segment\":[214,240],"
            "\"hidden\":false},"
            "{\"position\":[0.0000,-100.0000,0.0000],\"state\":0,\"segment\":[0,66],"
            "\"hidden\":true}],"
            "\"events\":[\"Level1ElevatorEvent\"],\"caption\":\"say \\\"60\\\" \\\\ fps\"}");
  EXPECT_EQ(stateLine({7, 5, true, "Loading...", nullptr}),
            "{\"frame\":7,\"level\":5,\"floatMode\":true,\"caption\":\"Loading...\"}");
}

/// The program itself refuses what it cannot play before it opens a window.
TEST(ReplayProgramTest, EndsWithTheLineAtFaultOrTheUsage) {
  const std::string program = (std::filesystem::current_path() / "vexa_replay").string();
  test::ScratchFolder scratch;
  scratch.write("typo.replay", "frame-time 0.02\ncalendar 0\n10 W\n5 Shift\n");
  const auto run = [&program](const std::string& arguments) {
    const auto ran = test::ProgramRun::of("'" + program + "' " + arguments + " 2>&1");
    return std::make_pair(WEXITSTATUS(ran.status), ran.output);
  };
  const auto [status, output] = run("typo.replay --state 1");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(output.rfind("vexa_replay: typo.replay: line 4: unknown key or word 'Shift'", 0), 0u)
      << output;
  EXPECT_EQ(run("missing.replay").first, 1);
  EXPECT_EQ(run("typo.replay --screenshot 0:x.png").first, 2);
  EXPECT_EQ(run("typo.replay --frame-time 0.01").first, 2);
}

}  // namespace
}  // namespace Vexa::replay
