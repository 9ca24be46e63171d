#include "app/Controls.h"
#include "physic/PhysicsWorld.h"
#include "support/GlTest.h"
#include "support/RecordingLevel.h"
#include "support/ScriptedInput.h"

namespace Vexa::test {
namespace {

class ControlsTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    level = std::make_unique<RecordingLevel>(1, physics);
    input.mouseX = 100;
    input.mouseY = 200;
    controls = std::make_unique<Controls>(input);
  }

  void frame(double seconds = 0.016) { controls->processInput(seconds, *level, physics); }

  glm::vec3 moveWith(std::initializer_list<Key> keys) {
    input.held = keys;
    frame();
    return level->moves.back();
  }

  GLint polygonMode() const {
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    return modes[0];
  }

  ScriptedInput input;
  PhysicsWorld physics;
  std::unique_ptr<RecordingLevel> level;
  std::unique_ptr<Controls> controls;
};

TEST_F(ControlsTest, OneKeyMovesAFullStepAndDiagonalsHalveEachComponent) {
  EXPECT_EQ(moveWith({Key::A}), glm::vec3(-0.29999998f, 0.0f, 0.0f));
  EXPECT_EQ(moveWith({Key::Right}), glm::vec3(0.29999998f, 0.0f, 0.0f));
  EXPECT_EQ(moveWith({Key::W}), glm::vec3(0.0f, 0.0f, -0.29999998f));
  EXPECT_EQ(moveWith({Key::A, Key::W}), glm::vec3(-0.14999999f, 0.0f, -0.14999999f));
  EXPECT_EQ(moveWith({Key::Down, Key::D}), glm::vec3(0.14999999f, 0.0f, 0.14999999f));
}

TEST_F(ControlsTest, OppositeKeysCancelAndTheZeroMoveIsStillSent) {
  EXPECT_EQ(moveWith({Key::A, Key::D}), glm::vec3(0.0f));
  EXPECT_EQ(moveWith({Key::Left, Key::Right, Key::Up, Key::Down}), glm::vec3(0.0f));
  EXPECT_EQ(moveWith({}), glm::vec3(0.0f));
  EXPECT_EQ(level->moves.size(), 3u);
}

TEST_F(ControlsTest, SpaceJumpsAndTheMouseButtonSwingsEveryFrameWhileHeld) {
  input.held = {Key::Space};
  input.mouseButtonHeld = true;
  frame();
  frame();
  EXPECT_EQ(level->jumps, 2);
  EXPECT_EQ(level->swings, 2);
}

TEST_F(ControlsTest, MouseMotionTurnsFifthOfADegreePerPixelAndRestDoesNot) {
  frame();
  EXPECT_TRUE(level->rotations.empty());
  input.mouseX = 110;  // ten pixels right
  input.mouseY = 195;  // five pixels up
  frame();
  ASSERT_EQ(level->rotations.size(), 1u);
  EXPECT_FLOAT_EQ(level->rotations[0].pitchChange, 1.0f);
  EXPECT_FLOAT_EQ(level->rotations[0].yawChange, -2.0f);
  frame();
  EXPECT_EQ(level->rotations.size(), 1u);
}

// The cursor roams the desktop while the window is out of focus and comes back
// anywhere: none of that turns the view, and motion after the return does.
TEST_F(ControlsTest, TheCursorsWayOutsideTheWindowNeverTurnsTheView) {
  frame();
  input.focused = false;
  input.mouseX = 900;
  frame();
  input.focused = true;
  input.mouseX = 1500;
  input.mouseY = -300;
  frame();
  EXPECT_TRUE(level->rotations.empty());
  input.mouseX = 1510;
  frame();
  ASSERT_EQ(level->rotations.size(), 1u);
  EXPECT_FLOAT_EQ(level->rotations[0].yawChange, -2.0f);
  EXPECT_FLOAT_EQ(level->rotations[0].pitchChange, 0.0f);
}

TEST_F(ControlsTest, TheFirstFrameNeverToggles) {
  input.held = {Key::F2};
  frame();
  EXPECT_TRUE(controls->showStatistics());
  frame();
  EXPECT_FALSE(controls->showStatistics());
}

// Frame times of 0.15 s add up to exactly 0.3, the delay that must be exceeded.
TEST_F(ControlsTest, AHeldToggleActsAgainOnlyAfterTheDelay) {
  input.held = {Key::F3};
  frame(0.15);  // the timer starts at the delay itself: not strictly greater
  EXPECT_FALSE(controls->wireframe());
  frame(0.15);
  EXPECT_TRUE(controls->wireframe());
  EXPECT_EQ(polygonMode(), GL_LINE);
  frame(0.15);
  frame(0.15);  // the timer is exactly 0.3 again: still waits
  EXPECT_TRUE(controls->wireframe());
  frame(0.15);
  EXPECT_FALSE(controls->wireframe());
  EXPECT_EQ(polygonMode(), GL_FILL);
}

TEST_F(ControlsTest, OnlyTheFirstHeldToggleActsInAFrame) {
  frame(0.15);
  input.held = {Key::F3, Key::F8};
  frame(0.15);
  EXPECT_TRUE(controls->wireframe());
  EXPECT_TRUE(controls->frustumCulling());
  input.held = {Key::F8};
  frame(0.15);
  frame(0.15);
  EXPECT_TRUE(controls->frustumCulling()) << "0.3 s have not passed since F3 acted";
  frame(0.15);
  EXPECT_FALSE(controls->frustumCulling());
  EXPECT_FALSE(level->cullingEnabled());
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

TEST_F(ControlsTest, F12FlipsFloatModeAndF9TurnsBlendingOffFirst) {
  frame(0.5);
  input.held = {Key::F12};
  frame(0.5);
  EXPECT_TRUE(physics.floatMode);
  glEnable(GL_BLEND);
  input.held = {Key::F9};
  frame(0.5);
  EXPECT_FALSE(controls->blending());
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  frame(0.5);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
}

}  // namespace
}  // namespace Vexa::test
