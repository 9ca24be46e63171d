#pragma once

#include <vector>

#include "render/GlHandle.h"

namespace Vexa::viewer {

/// A colour and depth target of fixed size that models are rendered into and read back from.
class OffscreenTarget {
 public:
  OffscreenTarget(int width, int height);

  /// Binds the target, sets the viewport to it and clears it to `background`.
  void begin(float backgroundGrey = 0.15f) const;
  /// RGBA rows from the bottom up, as glReadPixels delivers them; unbinds the target.
  std::vector<unsigned char> pixels() const;

  int width() const { return pixelsWide; }
  int height() const { return pixelsHigh; }

 private:
  int pixelsWide;
  int pixelsHigh;
  Framebuffer framebuffer;
  Texture colour;
  Texture depth;
};

}  // namespace Vexa::viewer
