#include <GLFW/glfw3.h>

#include <cstdlib>

#include "platform/Fatal.h"
#include "render/SoftwareRasterizer.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

using WindowTest = GlTest;

TEST_F(WindowTest, OpensA33CoreContextOfTheWindowedSize) {
  GLint major = 0;
  GLint minor = 0;
  GLint profile = 0;
  glGetIntegerv(GL_MAJOR_VERSION, &major);
  glGetIntegerv(GL_MINOR_VERSION, &minor);
  glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
  EXPECT_GE(major * 10 + minor, 33);
  EXPECT_TRUE(profile & GL_CONTEXT_CORE_PROFILE_BIT);
  EXPECT_EQ(glfwGetWindowAttrib(window->handle(), GLFW_OPENGL_PROFILE), GLFW_OPENGL_CORE_PROFILE);
  EXPECT_EQ(window->width(), 1024);
  EXPECT_EQ(window->height(), 768);
}

TEST_F(WindowTest, HasADepthBufferForTheMainPass) {
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  GLint depthBits = 0;
  glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH,
                                        GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depthBits);
  EXPECT_GE(depthBits, 24);
}

// Checked on the window's own framebuffer: a software rasterizer would pay four
// times over for every pixel of the main pass.
TEST_F(WindowTest, MultisamplesOnGraphicsHardwareOnly) {
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  GLint samples = -1;
  glGetIntegerv(GL_SAMPLES, &samples);
  EXPECT_EQ(samples, softwareRasterizer() ? 0 : Window::multisamples);
}

TEST(WindowShown, AWindowAskedToBeVisibleIsShownAndOneAskedNotToIsNot) {
  for (const bool visible : {true, false}) {
    const Window window(WindowMode::Windowed, visible);
    EXPECT_EQ(glfwGetWindowAttrib(window.handle(), GLFW_VISIBLE) == GLFW_TRUE, visible);
  }
}

TEST_F(WindowTest, CapturesTheCursorWithRawMotionWhereOfferedAndReleasesIt) {
  GLFWwindow* handle = window->handle();
  window->captureCursor();
  EXPECT_TRUE(window->cursorCaptured());
  EXPECT_EQ(glfwGetInputMode(handle, GLFW_CURSOR), GLFW_CURSOR_DISABLED);
  EXPECT_EQ(glfwGetInputMode(handle, GLFW_RAW_MOUSE_MOTION), glfwRawMouseMotionSupported());
  window->releaseCursor();
  EXPECT_FALSE(window->cursorCaptured());
  EXPECT_EQ(glfwGetInputMode(handle, GLFW_CURSOR), GLFW_CURSOR_NORMAL);
}

TEST(WindowFailure, NoDisplayMeansTheWindowCannotOpen) {
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        Window window(WindowMode::Windowed, false);
      },
      testing::ExitedWithCode(255), exactMessage("could not open window"));
}

TEST(WindowDisplay, ADisplayThatRefusesTheFirstAttemptsIsStillReached) {
  int refused = 0;
  const Window window(WindowMode::Windowed, false, [&refused] {
    if (refused == 3) return Window::attemptDisplay();
    ++refused;
    return false;
  });
  EXPECT_NE(window.handle(), nullptr);
  EXPECT_EQ(refused, 3);
}

TEST(FatalError, WritesTheMessageAndExitsWithMinusOne) {
  EXPECT_EXIT(fatalError("could not find sound Resources/Sounds/x.wav"),
              testing::ExitedWithCode(255),
              exactMessage("could not find sound Resources/Sounds/x.wav"));
}

}  // namespace
}  // namespace Vexa::test
