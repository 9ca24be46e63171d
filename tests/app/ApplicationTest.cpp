#include <GLFW/glfw3.h>

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <map>

#include "app/Application.h"
#include "physic/PhysicsWorld.h"
#include "scene/SceneContainer.h"
#include "scene/mesh/Hud.h"
#include "scene/mesh/Player.h"
#include "support/GlTest.h"
#include "support/ManualTime.h"
#include "support/RecordingLevel.h"
#include "support/ScriptedInput.h"

namespace Vexa::test {
namespace {

/// Runs the real application against recording levels, with scripted input and a
/// manual clock that each level update advances by `frameTime`. The shadow
/// targets are small: the loop's passes are the same at any size, and Mesa's
/// software renderer pays for every texel.
class ApplicationTest : public testing::Test {
 protected:
  static glm::mat4 uniformMatrix(const ShaderProgram& program, const char* name) {
    glm::mat4 matrix(0.0f);
    glGetUniformfv(program.programId(), glGetUniformLocation(program.programId(), name),
                   glm::value_ptr(matrix));
    return matrix;
  }

  std::unique_ptr<Application> start() {
    auto scripted = std::make_unique<ScriptedInput>();
    input = scripted.get();
    LevelFactory factory = [this](int index, PhysicsWorld& physics, float width, float height) {
      EXPECT_EQ(width, 1024.0f);
      EXPECT_EQ(height, 768.0f);
      auto level =
          std::make_unique<RecordingLevel>(index, physics, [this, &physics](RecordingLevel& self) {
            if (self.updates.size() == 1) floatModeAtStart[self.number] = physics.floatMode;
            onUpdate(self);
            clock.advance(frameTime);
          });
      level->objectsToReport = 7;
      levels.push_back(level.get());
      builtNumbers.push_back(index);
      return level;
    };
    return std::make_unique<Application>(WindowMode::Windowed, factory, std::move(scripted),
                                         shadowMapSize);
  }

  static constexpr GLsizei shadowMapSize = 64;

  ManualClock clock;
  double frameTime = 1.0 / 59.6;
  std::function<void(RecordingLevel&)> onUpdate = [](RecordingLevel&) {};
  ScriptedInput* input = nullptr;
  std::vector<RecordingLevel*> levels;  // owned by the application; only the last is alive
  std::vector<int> builtNumbers;
  std::map<int, bool> floatModeAtStart;
};

TEST_F(ApplicationTest, EscapeEndsTheLoopAfterPresentingTheFrame) {
  auto application = start();
  onUpdate = [this](RecordingLevel& level) {
    if (level.updates.size() == 3) input->held = {Key::Escape};
  };
  application->run();
  RecordingLevel& level = *levels.back();
  EXPECT_EQ(level.updates.size(), 3u);
  EXPECT_EQ(level.draws, 3) << "the last frame is still drawn";
  EXPECT_EQ(level.shadowDraws, 3);
  EXPECT_EQ(application->caption(),
            "Vexa's Voyage | FPS: 60 | # drawn objects: 7 | View-Frustum-Culling on");
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  int pixelsWide = 0;
  int pixelsHigh = 0;
  glfwGetFramebufferSize(application->window().handle(), &pixelsWide, &pixelsHigh);
  EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4),
            (std::vector<GLint>{0, 0, pixelsWide, pixelsHigh}))
      << "the main pass covers the whole drawable";
}

TEST_F(ApplicationTest, FrameTimesComeFromTheClock) {
  auto application = start();
  frameTime = 1.0 / 59.4;
  onUpdate = [this](RecordingLevel& level) {
    if (level.updates.size() == 2) input->held = {Key::Escape};
  };
  application->run();
  ASSERT_EQ(levels.back()->updates.size(), 2u);
  EXPECT_EQ(levels.back()->updates[0], 0.0) << "the first frame starts when the loop starts";
  EXPECT_DOUBLE_EQ(levels.back()->updates[1], 1.0 / 59.4);
  EXPECT_EQ(application->caption(),
            "Vexa's Voyage | FPS: 59 | # drawn objects: 7 | View-Frustum-Culling on");
}

TEST_F(ApplicationTest, CaptionFollowsTheStatisticsAndCullingToggles) {
  auto application = start();
  onUpdate = [this](RecordingLevel& level) {
    if (level.updates.size() == 2) input->held = {Key::F8};
    if (level.updates.size() == 3) input->held = {Key::Escape};
  };
  application->run();
  EXPECT_EQ(application->caption(), "Vexa's Voyage | FPS: 60 | # drawn objects: 7");

  auto second = (application.reset(), start());
  onUpdate = [this](RecordingLevel& level) {
    if (level.updates.size() == 2) input->held = {Key::F2};
    if (level.updates.size() == 3) input->held = {Key::Escape};
  };
  second->run();
  EXPECT_EQ(second->caption(), "Vexa's Voyage");
}

// The toggle survives a level switch; the level's culling does not: every new level
// culls until the toggle is pressed again, whatever the caption says.
TEST_F(ApplicationTest, ANewLevelCullsWhateverTheTogglePressedInTheLastOneShows) {
  auto application = start();
  std::vector<std::pair<bool, bool>> toggleAndCulling;
  onUpdate = [&](RecordingLevel& level) {
    toggleAndCulling.emplace_back(application->controls().frustumCulling(), level.cullingEnabled());
    if (level.number == 1 && level.updates.size() == 2) input->held = {Key::F8};
    if (level.number == 1 && level.updates.size() == 3) level.finish();
    if (level.number == 2) input->held = {Key::Escape};
  };
  application->run();
  EXPECT_EQ(toggleAndCulling, (std::vector<std::pair<bool, bool>>{
                                  {true, true}, {true, true}, {false, false}, {false, true}}));
  EXPECT_EQ(application->caption(), "Vexa's Voyage | FPS: 60 | # drawn objects: 7");
}

TEST_F(ApplicationTest, FinishedLevelsSwitchInOrderUntilTheLoopEnds) {
  testing::internal::CaptureStdout();
  auto application = start();
  onUpdate = [](RecordingLevel& level) {
    if (level.updates.size() == 2) level.finish();
  };
  application->run();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Switching to Level 1\nSwitching to Level 2\nSwitching to Level 3\n"
            "Switching to Level 4\nSwitching to Level 5\n");
  EXPECT_EQ(application->levelIndex(), 5);
  EXPECT_EQ(application->level(), nullptr);
  ASSERT_NE(application->physics(), nullptr);
  EXPECT_FALSE(application->physics()->floatMode);
  EXPECT_EQ(builtNumbers, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(floatModeAtStart, (std::map<int, bool>{{1, false}, {2, true}, {3, false}, {4, false}}));
}

// The player leaves the window during frames `firstAway` to `lastAway` (counted
// from 1); each of those frames lasts `awaySeconds` of wall time. Notes the
// cursor's capture after every frame and the clock during the frames away.
class AwayFromTheWindow final : public FrameObserver {
 public:
  AwayFromTheWindow(ScriptedInput& input, ManualClock& clock, const Window& window, int firstAway,
                    int lastAway)
      : input(input), clock(clock), window(window), firstAway(firstAway), lastAway(lastAway) {}

  void frameBegins() override {
    ++frame;
    input.focused = frame < firstAway || frame > lastAway;
  }
  void phaseEnded(Phase) override {}
  bool frameEnded() override {
    captured.push_back(window.cursorCaptured());
    if (!input.focused) {
      clockWhileAway.push_back(Clock::now());
      clock.advance(awaySeconds);
    }
    return true;
  }
  bool drawsFrame() const override { return true; }

  static constexpr double awaySeconds = 10.0;
  std::vector<double> clockWhileAway;
  std::vector<bool> captured;

 private:
  ScriptedInput& input;
  ManualClock& clock;
  const Window& window;
  const int firstAway;
  const int lastAway;
  int frame = 0;
};

// Away from the window the cursor is the desktop's and the game waits: nothing
// of the level runs and no timer sees the time away. Back in the window, play
// goes on at the pace it had, with the cursor captured again.
TEST_F(ApplicationTest, WithoutFocusTheGameWaitsAndGoesOnWhereItWas) {
  frameTime = 1.0 / 64;  // exact in binary, as are the sums below
  auto application = start();
  AwayFromTheWindow away(*input, clock, application->window(), 3, 5);
  application->observe(&away);
  std::vector<double> clockAtUpdates;
  onUpdate = [&](RecordingLevel& level) {
    clockAtUpdates.push_back(Clock::now());
    if (level.updates.size() == 4) input->held = {Key::Escape};
  };
  application->run();
  const RecordingLevel& level = *levels.back();
  EXPECT_EQ(level.updates, (std::vector<double>{0.0, frameTime, frameTime, frameTime}))
      << "the frame after the return lasts as long as the one before the pause";
  EXPECT_EQ(clockAtUpdates, (std::vector<double>{0.0, frameTime, 2 * frameTime, 3 * frameTime}));
  EXPECT_EQ(away.clockWhileAway, std::vector<double>(3, 2 * frameTime)) << "the clock stands";
  EXPECT_EQ(level.draws, 7) << "the waiting game is still drawn";
  EXPECT_EQ(level.moves.size(), 4u) << "no input reaches the level while away";
  EXPECT_EQ(away.captured, (std::vector<bool>{true, true, false, false, false, true, true}));
}

// A tap shorter than a frame falls between two frames' readings of the keys; the
// next frame still sees it, and only that frame.
TEST_F(ApplicationTest, TapsBetweenTwoFramesJumpSwingToggleAndQuitOnce) {
  auto application = start();
  onUpdate = [this](RecordingLevel& level) {
    if (level.updates.size() == 30) {
      input->tap(Key::Space);
      input->tapMouseButton();
      input->tap(Key::F2);
    }
    if (level.updates.size() == 60) input->tap(Key::Escape);
    if (level.updates.size() == 90) input->held = {Key::Escape};  // a game that missed the tap
  };
  application->run();
  const RecordingLevel& level = *levels.back();
  EXPECT_EQ(level.jumps, 1);
  EXPECT_EQ(level.swings, 1);
  EXPECT_FALSE(application->controls().showStatistics()) << "toggled once, and not back";
  EXPECT_EQ(level.updates.size(), 61u) << "the frame after the tap of Escape ends the game";
}

// A window made wide and low shows the same picture, only wider: as much from top
// to bottom as the window of the start, and the crosshair in the middle.
TEST_F(ApplicationTest, AResizedWindowKeepsThePictureUnsquashedAndTheCrosshairCentred) {
  auto application = start();
  onUpdate = [&](RecordingLevel& level) {
    if (level.updates.size() == 1) glfwSetWindowSize(application->window().handle(), 1024, 384);
    if (level.updates.size() == 3) input->held = {Key::Escape};
  };
  application->run();
  const auto [pixelsWide, pixelsHigh] = application->window().framebufferSize();
  ASSERT_EQ(pixelsWide * 384, pixelsHigh * 1024) << "the test display refused the new size";
  RecordingLevel& level = *levels.back();

  const glm::mat4 loaded = uniformMatrix(level.shaderPrograms().level, "projectionMatrix");
  EXPECT_EQ(loaded, level.player().projectionMatrix()) << "the programs draw with it";
  EXPECT_FLOAT_EQ(loaded[1][1], Level::projection(1024.0f, 768.0f)[1][1]);
  EXPECT_FLOAT_EQ(loaded[1][1] / loaded[0][0], 1024.0f / 384.0f);

  const glm::mat4 ortho = uniformMatrix(level.shaderPrograms().crosshair, "orthoMatrix");
  const glm::vec4 crosshair = ortho * level.scene().hud().localMatrix * glm::vec4(0, 0, 0, 1);
  EXPECT_NEAR(crosshair.x, 0.0f, 1e-6f);
  EXPECT_NEAR(crosshair.y, 0.0f, 1e-6f);
}

TEST_F(ApplicationTest, ReportsOneGlErrorPerFrame) {
  auto application = start();
  onUpdate = [this](RecordingLevel& level) {
    glBindTexture(GL_TEXTURE_2D, 0xFFFFu);  // not a texture name: GL_INVALID_OPERATION
    if (level.updates.size() == 1) input->held = {Key::Escape};
  };
  testing::internal::CaptureStderr();
  application->run();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "GL ERROR DETECTED: 1282\n");
  while (glGetError() != GL_NO_ERROR) {
  }
}

}  // namespace
}  // namespace Vexa::test
