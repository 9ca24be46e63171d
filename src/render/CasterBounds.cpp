#include "render/CasterBounds.h"

#include <algorithm>
#include <cmath>
#include <glm/common.hpp>
#include <glm/vec4.hpp>

namespace Vexa {

void CasterBounds::begin(const glm::mat4& lightViewProjection) {
  toLight = lightViewProjection;
  anything = false;
  unbounded = false;
}

// A perspective view maps a box in front of the eye to the convex hull of its
// corners' images, so the corners bound everything inside it.
void CasterBounds::add(const BoundingBox& box, const glm::mat4& toWorld) {
  if (box.empty() || unbounded) return;
  const glm::mat4 transform = toLight * toWorld;
  for (int corner = 0; corner < 8; ++corner) {
    const glm::vec4 point((corner & 1) ? box.max.x : box.min.x,
                          (corner & 2) ? box.max.y : box.min.y,
                          (corner & 4) ? box.max.z : box.min.z, 1.0f);
    const glm::vec4 clip = transform * point;
    if (!(clip.w > 0.0f)) {
      unbounded = true;
      return;
    }
    const glm::vec2 onMap = glm::vec2(clip) / clip.w;
    low = anything ? glm::min(low, onMap) : onMap;
    high = anything ? glm::max(high, onMap) : onMap;
    anything = true;
  }
}

TexelBox CasterBounds::texels(GLsizei size, GLint margin) const {
  if (unbounded) return {0, 0, size, size};
  if (!anything) return {};
  // From normalised device coordinates to texels, rounded outwards; clamped
  // first, so that a caster far off the map cannot overflow.
  const auto texel = [size](float ndc) {
    return std::clamp((ndc * 0.5f + 0.5f) * static_cast<float>(size), -1.0f,
                      static_cast<float>(size) + 1.0f);
  };
  const auto down = [&texel](float ndc) { return static_cast<GLint>(std::floor(texel(ndc))); };
  const auto up = [&texel](float ndc) { return static_cast<GLint>(std::ceil(texel(ndc))); };
  TexelBox box{down(low.x) - margin, down(low.y) - margin, up(high.x) + margin,
               up(high.y) + margin};
  box.x0 = std::max(box.x0, 0);
  box.y0 = std::max(box.y0, 0);
  box.x1 = std::min<GLint>(box.x1, size);
  box.y1 = std::min<GLint>(box.y1, size);
  return box.empty() ? TexelBox{} : box;
}

}  // namespace Vexa
