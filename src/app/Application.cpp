#include "app/Application.h"

#include <GL/glew.h>

#include <iostream>

#include "app/Caption.h"
#include "physic/PhysicsWorld.h"
#include "platform/Clock.h"
#include "platform/GlfwInput.h"

namespace Vexa {

Application::Application(WindowMode mode, LevelFactory levels, std::unique_ptr<Input> input,
                         GLsizei shadowMapSize, int firstLevel)
    : gameWindow(std::make_unique<Window>(mode)),
      gameInput(input ? std::move(input) : std::make_unique<GlfwInput>(gameWindow->handle())),
      levelFactory(std::move(levels)),
      currentLevelIndex(firstLevel - 1) {
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
Application::~Application() {
  shadowBuffers.reset();
  currentLevel.reset();
  physicsWorld.reset();
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

// A window without focus leaves the cursor to the desktop; it is captured again
// when the focus comes back.
void Application::cursorFollowsFocus() {
  const bool focused = gameInput->hasFocus();
  if (focused == gameWindow->cursorCaptured()) return;
  if (focused)
    gameWindow->captureCursor();
  else
    gameWindow->releaseCursor();
}

void Application::run() {
  double lastFrameStart = Clock::now();
  while (running) frame(lastFrameStart);
}

// The window is cleared once, by the main pass: nothing reaches it before that.
void Application::frame(double& lastFrameStart) {
  if (frameObserver) frameObserver->frameBegins();
  const double now = Clock::now();
  const double frameTime = now - lastFrameStart;
  lastFrameStart = now;

  cursorFollowsFocus();
  gameControls->processInput(frameTime, *currentLevel, *physicsWorld);
  physicsWorld->step(static_cast<float>(frameTime));
  currentLevel->update(frameTime);
  reportPhaseEnded(FrameObserver::Phase::Update);
  render();
  drawnObjects = currentLevel->drawnObjects;

  running = !gameInput->keyDown(Key::Escape) && !gameWindow->closeRequested();
  if (drawsFrame()) gameWindow->swapBuffers();
  reportPhaseEnded(FrameObserver::Phase::Swap);
  showCaption(frameTime);
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
  lastCaption = captionText(gameControls->showStatistics(), frameTimeSeconds, drawnObjects,
                            gameControls->frustumCulling());
  gameWindow->setTitle(lastCaption);
}

// The old level goes before its physics world, and the new world exists before
// the new level, so nothing of one level survives into the next.
void Application::switchLevel() {
  gameWindow->setTitle("Loading...");
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
  currentLevel =
      levelFactory(currentLevelIndex, *physicsWorld, static_cast<float>(gameWindow->width()),
                   static_cast<float>(gameWindow->height()));
  // Level 2 is played in float mode from its start.
  if (currentLevelIndex == 2) physicsWorld->floatMode = true;
}

void Application::reportPhaseEnded(FrameObserver::Phase phase) {
  if (frameObserver) frameObserver->phaseEnded(phase);
}

}  // namespace Vexa
