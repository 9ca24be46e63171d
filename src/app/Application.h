#pragma once

#include <memory>
#include <string>

#include "app/Controls.h"
#include "app/FrameObserver.h"
#include "app/Window.h"
#include "platform/Input.h"
#include "render/ShadowBuffers.h"
#include "scene/Level.h"

namespace Vexa {

class PhysicsWorld;

/// The spine of the game: the window, the current level with its physics world,
/// the shadow targets, and the frame loop that drives them.
class Application {
 public:
  /// The level after the closing scene: switching to it ends the game.
  static constexpr int lastLevel = 4;

  /// Opens the window, loads level `firstLevel` from `levels` and prepares the
  /// shadow targets of `shadowMapSize` texels a side. `input` replaces the
  /// window's keyboard and mouse (tests and replays supply their own).
  Application(WindowMode mode, LevelFactory levels, std::unique_ptr<Input> input = nullptr,
              GLsizei shadowMapSize = ShadowBuffers::gameSize, int firstLevel = 1);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  /// Plays frames until Escape, a closed window, or the end of the last level.
  void run();

  /// Whether each frame waits for the display's refresh before it is shown. The
  /// game waits; tools that play as fast as they can leave it off, as it starts.
  void presentOnVerticalSync(bool wait);

  /// Installs `observer` (null removes it); it must outlive the frames it watches.
  void observe(FrameObserver* observer) { frameObserver = observer; }

  int levelIndex() const { return currentLevelIndex; }
  const Level* level() const { return currentLevel.get(); }
  const PhysicsWorld* physics() const { return physicsWorld.get(); }
  const Window& window() const { return *gameWindow; }
  const Controls& controls() const { return *gameControls; }
  const Input& input() const { return *gameInput; }
  const std::string& caption() const { return lastCaption; }

 private:
  void setFixedGlState();
  bool followFocus();
  void fitViewToWindow();
  void frame(double& lastFrameStart);
  void render();
  bool drawsFrame() const;
  void renderShadowMap();
  void renderMainPass();
  void showCaption(double frameTimeSeconds);
  void switchLevel();
  void reportPhaseEnded(FrameObserver::Phase phase);

  std::unique_ptr<Window> gameWindow;
  std::unique_ptr<Input> gameInput;
  std::unique_ptr<Controls> gameControls;
  LevelFactory levelFactory;
  int currentLevelIndex = 0;
  /// The window size the level's view was last fitted to.
  Window::PixelSize viewSize;
  std::unique_ptr<PhysicsWorld> physicsWorld;
  std::unique_ptr<Level> currentLevel;
  std::unique_ptr<ShadowBuffers> shadowBuffers;
  /// The length of the last frame played, in seconds.
  double lastFrameTime = 0.0;
  bool running = true;
  std::string lastCaption;
  FrameObserver* frameObserver = nullptr;
};

}  // namespace Vexa
