#pragma once

#include <string>

struct GLFWwindow;

namespace Vexa {

enum class WindowMode { Windowed, Fullscreen };

/// The game's window with its OpenGL 3.3 core context (4x multisampling, 24-bit
/// depth) and GLEW's entry points. Construction never returns on failure; the
/// destructor closes the window and shuts the window library down.
class Window {
 public:
  static constexpr int windowedWidth = 1024;
  static constexpr int windowedHeight = 768;

  explicit Window(WindowMode mode, bool visible = true);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  int width() const { return pixelWidth; }
  int height() const { return pixelHeight; }
  GLFWwindow* handle() const { return window; }

  /// Hides the cursor and keeps its position counting past the window's edges.
  void captureCursor();
  void setTitle(const std::string& title);
  bool closeRequested() const;
  /// Presents the frame and handles pending window events.
  void swapBuffers();

 private:
  void open(WindowMode mode, bool visible);
  void initGlew();

  GLFWwindow* window = nullptr;
  int pixelWidth = 0;
  int pixelHeight = 0;
};

}  // namespace Vexa
