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
  /// Cursor position in pixels; the cursor is captured, so it counts past the window edge.
  virtual void mousePosition(int& x, int& y) const = 0;
};

}  // namespace Vexa
