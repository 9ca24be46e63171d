#pragma once

namespace Vexa {

/// The keys the controls poll.
enum class Key { Space, Left, Right, Up, Down, A, D, W, S, F2, F3, F8, F9, F12, Escape };

/// Polled input: the game reads the window's devices, tests script them.
class Input {
 public:
  virtual ~Input() = default;
  virtual bool keyDown(Key key) const = 0;
  virtual bool leftMouseButtonDown() const = 0;
  /// Cursor position in pixels; while captured, the cursor counts past the window edge.
  virtual void mousePosition(int& x, int& y) const = 0;
  /// Whether the game's window has the keyboard and mouse. Without focus the
  /// cursor roams the desktop, and its position is not the player's.
  virtual bool hasFocus() const = 0;
};

}  // namespace Vexa
