#include "app/Application.h"

#include <GL/glew.h>

#include <iostream>

#include "app/Caption.h"
#include "physic/PhysicsWorld.h"
#include "platform/Clock.h"
#include "platform/GlfwInput.h"
#include "scene/ModelCache.h"

namespace Vexa {

namespace {

/// The longest a frame of the waiting game sleeps for the window's events: the
/// focus, a resize or the close button wake it at once.
constexpr double waitingFrameSeconds = 0.1;

}  // namespace

Application::Application(WindowMode mode, LevelFactory levels, std::unique_ptr<Input> input,
                         GLsizei shadowMapSize, int firstLevel)
    : gameWindow(std::make_unique<Window>(mode)),
      gameInput(input ? std::move(input) : std::make_unique<GlfwInput>(gameWindow->handle())),
      levelFactory(std::move(levels)),
      currentLevelIndex(firstLevel - 1),
      viewSize(gameWindow->size()) {
  setFixedGlState();
  gameControls = std::make_unique<Controls>(*gameInput);
  switchLevel();
  // The blur's screen quad is prepared with the first level's blur programs;
  // every later level's programs share the vertex shader and its locations.
  shadowBuffers =
      std::make_unique<ShadowBuffers>(currentLevel->shaderPrograms().blurHorizontal,
                                      currentLevel->shaderPrograms().blurVertical, shadowMapSize);
}

// The shadow targets go first, then the level, which takes its bodies out of the
// physics world, then that world; the window and its context go last.
// The clock runs again once the game is gone.
Application::~Application() {
  shadowBuffers.reset();
  currentLevel.reset();
  physicsWorld.reset();
  Clock::resume();
}

void Application::setFixedGlState() {
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_MULTISAMPLE);
  gameWindow->captureCursor();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  const auto [width, height] = gameWindow->framebufferSize();
  glViewport(0, 0, width, height);
}

// Without focus the cursor goes back to the desktop and the game waits: its
// clock stops, so physics, enemies, events and animations stand still, and they
// go on from where they stood when the focus returns.
bool Application::followFocus() {
  const bool focused = gameInput->hasFocus();
  if (focused)
    Clock::resume();
  else
    Clock::pause();
  if (focused != gameWindow->cursorCaptured()) {
    if (focused)
      gameWindow->captureCursor();
    else
      gameWindow->releaseCursor();
  }
  return focused;
}

// The picture keeps the window's proportions, whatever size the player gives
// it; a minimised window keeps the last fit.
void Application::fitViewToWindow() {
  const Window::PixelSize size = gameWindow->size();
  if (size.width <= 0 || size.height <= 0 || size == viewSize) return;
  viewSize = size;
  if (currentLevel) {
    currentLevel->fitView(static_cast<float>(size.width), static_cast<float>(size.height));
  }
}

void Application::run() {
  double lastFrameStart = Clock::now();
  while (running) frame(lastFrameStart);
}

// The window is cleared once, by the main pass: nothing reaches it before that.
// A frame without focus plays nothing and leaves the start of the last played
// frame as it was: the clock stopped at this frame's start, so the first frame
// after the focus returns lasts as long as the one before the pause. Meanwhile
// the caption keeps the rate of the last frame played, and the waiting game
// draws a few frames a second instead of taking a core of the machine.
void Application::frame(double& lastFrameStart) {
  gameInput->beginFrame();
  if (frameObserver) frameObserver->frameBegins();
  fitViewToWindow();
  const bool playing = followFocus();
  if (playing) {
    const double now = Clock::now();
    lastFrameTime = now - lastFrameStart;
    lastFrameStart = now;
  }

  gameControls->processInput(playing ? lastFrameTime : 0.0, *currentLevel, *physicsWorld);
  if (playing) {
    physicsWorld->step(static_cast<float>(lastFrameTime));
    currentLevel->update(lastFrameTime);
  }
  reportPhaseEnded(FrameObserver::Phase::Update);
  render();

  running = !gameInput->keyDown(Key::Escape) && !gameWindow->closeRequested();
  if (drawsFrame()) gameWindow->swapBuffers();
  if (!playing) gameWindow->waitForEvents(waitingFrameSeconds);
  reportPhaseEnded(FrameObserver::Phase::Swap);
  showCaption(lastFrameTime);
  if (const GLenum error = glGetError(); error != GL_NO_ERROR) {
    std::cerr << "GL ERROR DETECTED: " << error << std::endl;
  }
  if (currentLevel->finished()) switchLevel();
  if (frameObserver && !frameObserver->frameEnded()) running = false;
}

bool Application::drawsFrame() const {
  return !frameObserver || frameObserver->drawsFrame();
}

void Application::render() {
  const bool drawn = drawsFrame();
  if (drawn) renderShadowMap();
  reportPhaseEnded(FrameObserver::Phase::ShadowPass);
  if (drawn) {
    shadowBuffers->blur(currentLevel->shaderPrograms().blurHorizontal,
                        currentLevel->shaderPrograms().blurVertical, currentLevel->shadowCasters());
  }
  reportPhaseEnded(FrameObserver::Phase::Blur);
  if (!drawn) glEnable(GL_RASTERIZER_DISCARD);
  renderMainPass();
  glDisable(GL_RASTERIZER_DISCARD);
  reportPhaseEnded(FrameObserver::Phase::MainPass);
}

void Application::renderShadowMap() {
  shadowBuffers->beginShadowPass();
  currentLevel->drawShadowMap();
  shadowBuffers->endShadowPass();
}

void Application::renderMainPass() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  const auto [width, height] = gameWindow->framebufferSize();
  glViewport(0, 0, width, height);
  const GLuint levelProgram = currentLevel->shaderPrograms().level.programId();
  glUseProgram(levelProgram);
  const GLint shadowMap = glGetUniformLocation(levelProgram, "shadow_map");
  if (shadowMap != -1) {
    glUniform1i(shadowMap, ShadowBuffers::shadowMapUnit);
    glActiveTexture(GL_TEXTURE0 + ShadowBuffers::shadowMapUnit);
    glBindTexture(GL_TEXTURE_2D, shadowBuffers->shadowMap());
  }
  currentLevel->draw();
}

void Application::showCaption(double frameTimeSeconds) {
  lastCaption = captionText(gameControls->showStatistics(), frameTimeSeconds,
                            currentLevel->drawnObjects(), gameControls->frustumCulling());
  gameWindow->setTitle(lastCaption);
}

// The old level goes before its physics world, and the new world exists before
// the new level, so nothing of one level survives into the next.
void Application::presentOnVerticalSync(bool wait) {
  gameWindow->presentOnVerticalSync(wait);
}

void Application::switchLevel() {
  gameWindow->setTitle("Loading...");
  const scene::ModelCache::Hold oldLevelsModels;
  currentLevel.reset();
  physicsWorld.reset();
  physicsWorld = std::make_unique<PhysicsWorld>();
  ++currentLevelIndex;
  std::cout << "Switching to Level " << currentLevelIndex << std::endl;
  physicsWorld->floatMode = false;
  if (currentLevelIndex > lastLevel) {
    running = false;
    return;
  }
  currentLevel = levelFactory(currentLevelIndex, *physicsWorld, static_cast<float>(viewSize.width),
                              static_cast<float>(viewSize.height));
  // Level 2 is played in float mode from its start.
  if (currentLevelIndex == 2) physicsWorld->floatMode = true;
}

void Application::reportPhaseEnded(FrameObserver::Phase phase) {
  if (frameObserver) frameObserver->phaseEnded(phase);
}

}  // namespace Vexa
