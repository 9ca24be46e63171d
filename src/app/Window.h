#pragma once

#include <functional>
#include <string>

struct GLFWwindow;

namespace Vexa {

enum class WindowMode { Windowed, Fullscreen };

/// The game's window with its OpenGL 3.3 core context (24-bit depth, and 4x
/// multisampling on graphics hardware: on a software rasterizer it would double
/// the main pass) and GLEW's entry points. Construction never returns on failure; the
/// destructor closes the window and shuts the window library down.
class Window {
 public:
  static constexpr int windowedWidth = 1024;
  static constexpr int windowedHeight = 768;
  /// Samples a pixel of the window on graphics hardware.
  static constexpr int multisamples = 4;

  /// One try at reaching the display and starting the window library; false
  /// when the display refused it.
  using DisplayAttempt = std::function<bool()>;
  static bool attemptDisplay();

  /// Repeats `attempt` while the display refuses, for half a second at most.
  explicit Window(WindowMode mode, bool visible = true,
                  const DisplayAttempt& attempt = attemptDisplay);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  struct PixelSize {
    int width;
    int height;
    bool operator==(const PixelSize& other) const {
      return width == other.width && height == other.height;
    }
  };
  /// The window's size now, in screen coordinates: it sets the picture's aspect
  /// and places the crosshair. A minimised window may report zero.
  PixelSize size() const;
  int width() const { return size().width; }
  int height() const { return size().height; }
  /// The drawable's size in pixels: larger than the window's on scaled and HiDPI
  /// displays, and what the viewport must cover.
  PixelSize framebufferSize() const;
  GLFWwindow* handle() const { return window; }

  /// Hides the cursor and keeps its position counting past the window's edges,
  /// from the mouse's raw motion where the platform offers it.
  void captureCursor();
  /// Gives the cursor back to the desktop.
  void releaseCursor();
  bool cursorCaptured() const;
  void setTitle(const std::string& title);
  bool closeRequested() const;
  /// Whether presenting a frame waits for the display's next refresh. A new
  /// window does not wait: frames are shown as fast as they are drawn.
  void presentOnVerticalSync(bool wait);
  /// Presents the frame and handles pending window events.
  void swapBuffers();
  /// Sleeps until a window event arrives, `seconds` at most, and handles it.
  void waitForEvents(double seconds);

 private:
  void open(WindowMode mode, bool visible);
  void initGlew();

  GLFWwindow* window = nullptr;
};

}  // namespace Vexa
