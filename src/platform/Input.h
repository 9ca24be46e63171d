#pragma once

namespace Vexa {

/// The keys the controls poll.
enum class Key { Space, Left, Right, Up, Down, A, D, W, S, F2, F3, F8, F9, F12, Escape };
constexpr int keyCount = static_cast<int>(Key::Escape) + 1;

/// Polled input: the game reads the window's devices, tests script them. A key
/// or the button reads as down while it is held, and for one frame after a press
/// that was released again before that frame began, so a tap is never lost.
class Input {
 public:
  virtual ~Input() = default;
  /// Called once at the start of every frame, before the frame reads anything:
  /// the presses since the last call become this frame's. Input that is given
  /// frame by frame has nothing to gather.
  virtual void beginFrame() {}
  virtual bool keyDown(Key key) const = 0;
  virtual bool leftMouseButtonDown() const = 0;
  /// Cursor position in pixels; while captured, the cursor counts past the window edge.
  virtual void mousePosition(int& x, int& y) const = 0;
  /// Whether the game's window has the keyboard and mouse. Without focus the
  /// cursor roams the desktop, and its position is not the player's.
  virtual bool hasFocus() const = 0;
};

}  // namespace Vexa
