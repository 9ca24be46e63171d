#pragma once

#include <GL/glew.h>

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>
#include <vector>

#include "render/BoundingBox.h"

namespace Vexa {

/// A rectangle of shadow-map texels, [x0, x1) × [y0, y1).
struct TexelBox {
  GLint x0 = 0;
  GLint y0 = 0;
  GLint x1 = 0;
  GLint y1 = 0;

  bool empty() const { return x1 <= x0 || y1 <= y0; }
  GLsizei width() const { return x1 - x0; }
  GLsizei height() const { return y1 - y0; }
  /// Whether the two share a texel or lie side by side.
  bool meets(const TexelBox& other) const {
    return x0 <= other.x1 && other.x0 <= x1 && y0 <= other.y1 && other.y0 <= y1;
  }
};

/// Adds `box` to `apart`, boxes of which no two meet, joining it with every one
/// it meets, so that still no texel lies in two.
void addJoined(std::vector<TexelBox>& apart, TexelBox box);

/// Where the shadow casters of one pass land on the shadow map, gathered from
/// their boxes as the light's camera sees them. Before any caster has been
/// gathered (or when the casters' reach is unknown) the whole map counts.
class CasterBounds {
 public:
  /// Starts a pass seen through `lightViewProjection`: nothing gathered yet.
  void begin(const glm::mat4& lightViewProjection);
  /// Every texel counts, as when no pass has gathered its casters.
  void coverAll() { unbounded = true; }

  /// Adds the part of the box `box` under `toWorld` that lies in front of the
  /// light's near plane: a box wholly behind it adds nothing.
  void add(const BoundingBox& box, const glm::mat4& toWorld);

  /// The texels of a `size`-texel map the casters cover, each caster's grown by
  /// `margin` texels on every side and clipped to the map. Boxes that meet are
  /// joined, so no texel lies in two; none when nothing casts.
  std::vector<TexelBox> texels(GLsizei size, GLint margin) const;

 private:
  /// One caster's extent on the map, in normalised device coordinates.
  struct Extent {
    glm::vec2 low;
    glm::vec2 high;
  };

  /// Widens `extent` by a point in clip space that the light's camera sees.
  void gather(const glm::vec4& clip, Extent& extent, bool& first);

  glm::mat4 toLight{1.0f};
  std::vector<Extent> extents;
  bool unbounded = true;
};

}  // namespace Vexa
