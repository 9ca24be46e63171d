#include <GLFW/glfw3.h>

#include <map>

#include "app/Application.h"
#include "physic/PhysicsWorld.h"
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
  std::unique_ptr<Application> start() {
    auto scripted = std::make_unique<ScriptedInput>();
    input = scripted.get();
    LevelFactory factory = [this](int index, PhysicsWorld& physics, float width, float height) {
      EXPECT_EQ(width, 1024.0f);
      EXPECT_EQ(height, 768.0f);
      auto level = std::make_unique<RecordingLevel>(index, physics, [this, &physics](RecordingLevel& self) {
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

// Each frame starts by matching the cursor to the focus the last frame left.
TEST_F(ApplicationTest, ReleasesTheCursorWithoutFocusAndCapturesItWhenFocusReturns) {
  auto application = start();
  std::vector<bool> captured;
  onUpdate = [&](RecordingLevel& level) {
    captured.push_back(application->window().cursorCaptured());
    input->focused = level.updates.size() != 2;
    if (level.updates.size() == 4) input->held = {Key::Escape};
  };
  application->run();
  EXPECT_EQ(captured, (std::vector<bool>{true, true, false, true}));
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
