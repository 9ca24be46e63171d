#include "app/Window.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <chrono>
#include <thread>

#include "platform/Fatal.h"
#include "render/SoftwareRasterizer.h"

namespace Vexa {

namespace {

/// A display server whose queue of new connections is full refuses the next one
/// at once (EAGAIN) instead of waiting; that passes as soon as it accepts the
/// queued ones. Only a display that keeps refusing for half a second is missing.
bool connectToDisplay(const Window::DisplayAttempt& attempt) {
  constexpr int attempts = 20;
  constexpr auto pause = std::chrono::milliseconds(25);
  for (int tried = 1; tried < attempts; ++tried) {
    if (attempt()) return true;
    std::this_thread::sleep_for(pause);
  }
  return attempt();
}

}  // namespace

bool Window::attemptDisplay() {
  return glfwInit() == GLFW_TRUE;
}

Window::Window(WindowMode mode, bool visible, const DisplayAttempt& attempt) {
  if (!connectToDisplay(attempt)) fatalError("could not open window");
  open(mode, visible);
  initGlew();
  // GLEW's start-up leaves an error behind on core contexts; it is not ours.
  glGetError();
}

Window::~Window() {
  if (window != nullptr) glfwDestroyWindow(window);
  glfwTerminate();
}

// The window is made hidden, so that one made again without multisampling never
// shows; full-screen windows show at once whatever they are told.
void Window::open(WindowMode mode, bool visible) {
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
  glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
  glfwWindowHint(GLFW_OPENGL_FORWARD_COMPAT, GLFW_TRUE);
  glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);

  GLFWmonitor* monitor = glfwGetPrimaryMonitor();
  const GLFWvidmode* desktop = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr;
  if (desktop != nullptr) {
    glfwWindowHint(GLFW_RED_BITS, desktop->redBits);
    glfwWindowHint(GLFW_GREEN_BITS, desktop->greenBits);
    glfwWindowHint(GLFW_BLUE_BITS, desktop->blueBits);
  }
  glfwWindowHint(GLFW_ALPHA_BITS, 0);
  glfwWindowHint(GLFW_DEPTH_BITS, 24);
  glfwWindowHint(GLFW_STENCIL_BITS, 0);

  const bool fullscreen = mode == WindowMode::Fullscreen && desktop != nullptr;
  const auto create = [&](int samples) {
    glfwWindowHint(GLFW_SAMPLES, samples);
    window = glfwCreateWindow(fullscreen ? desktop->width : windowedWidth,
                              fullscreen ? desktop->height : windowedHeight, "Vexa's Voyage",
                              fullscreen ? monitor : nullptr, nullptr);
    if (window == nullptr) {
      glfwTerminate();
      fatalError("could not initialize GLFW window");
    }
    glfwMakeContextCurrent(window);
  };
  create(multisamples);
  if (softwareRasterizer()) {
    glfwDestroyWindow(window);
    create(0);
  }
  if (visible) glfwShowWindow(window);
  presentOnVerticalSync(false);
}

void Window::initGlew() {
  // Core contexts list no extensions the old way; GLEW must probe every entry point.
  glewExperimental = GL_TRUE;
  if (glewInit() != GLEW_OK) fatalError("failed to init glew");
}

Window::PixelSize Window::size() const {
  PixelSize size{0, 0};
  glfwGetWindowSize(window, &size.width, &size.height);
  return size;
}

Window::PixelSize Window::framebufferSize() const {
  PixelSize size{0, 0};
  glfwGetFramebufferSize(window, &size.width, &size.height);
  return size;
}

// Raw motion skips the desktop's pointer acceleration and scaling, which only
// suit a visible pointer.
void Window::captureCursor() {
  glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
  if (glfwRawMouseMotionSupported() == GLFW_TRUE)
    glfwSetInputMode(window, GLFW_RAW_MOUSE_MOTION, GLFW_TRUE);
}

void Window::releaseCursor() {
  glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_NORMAL);
}

bool Window::cursorCaptured() const {
  return glfwGetInputMode(window, GLFW_CURSOR) == GLFW_CURSOR_DISABLED;
}

void Window::setTitle(const std::string& title) {
  glfwSetWindowTitle(window, title.c_str());
}

bool Window::closeRequested() const {
  return glfwWindowShouldClose(window) != 0;
}

// The drivers' own default differs (Mesa waits unless told otherwise), so the
// choice is always made explicitly.
void Window::presentOnVerticalSync(bool wait) {
  glfwSwapInterval(wait ? 1 : 0);
}

void Window::swapBuffers() {
  glfwSwapBuffers(window);
  glfwPollEvents();
}

void Window::waitForEvents(double seconds) {
  glfwWaitEventsTimeout(seconds);
}

}  // namespace Vexa
