#include "render/CasterBounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <glm/common.hpp>
#include <glm/vec4.hpp>

namespace Vexa {

void CasterBounds::begin(const glm::mat4& lightViewProjection) {
  toLight = lightViewProjection;
  extents.clear();
  unbounded = false;
}

// The light's camera sees only what lies in front of its near plane, so a box
// is first cut by that plane: what is left is a convex solid whose corners are
// the box's corners in front and the points where its edges cross the plane. A
// perspective view maps such a solid to the convex hull of its corners' images,
// so those corners bound everything the caster can draw.
void CasterBounds::add(const BoundingBox& box, const glm::mat4& toWorld) {
  if (box.empty() || unbounded) return;
  const glm::mat4 transform = toLight * toWorld;
  std::array<glm::vec4, 8> corners;
  for (int corner = 0; corner < 8; ++corner)
    corners[corner] = transform * glm::vec4((corner & 1) ? box.max.x : box.min.x,
                                            (corner & 2) ? box.max.y : box.min.y,
                                            (corner & 4) ? box.max.z : box.min.z, 1.0f);
  // In clip space the near plane is z = -w: a point lies in front where z + w >= 0.
  const auto inFront = [](const glm::vec4& clip) { return clip.z + clip.w; };
  Extent extent{};
  bool first = true;
  for (int corner = 0; corner < 8 && !unbounded; ++corner) {
    const float front = inFront(corners[corner]);
    if (front >= 0.0f) gather(corners[corner], extent, first);
    // Each edge once: from a corner to the corner one axis further along.
    for (int axis = 1; axis < 8; axis <<= 1) {
      if (corner & axis) continue;
      const glm::vec4& other = corners[corner | axis];
      const float otherFront = inFront(other);
      if ((front < 0.0f) != (otherFront < 0.0f))
        gather(glm::mix(corners[corner], other, front / (front - otherFront)), extent, first);
    }
  }
  if (!first && !unbounded) extents.push_back(extent);
}

void CasterBounds::gather(const glm::vec4& clip, Extent& extent, bool& first) {
  if (!(clip.w > 0.0f)) {
    unbounded = true;  // not a view that puts what it sees in front of its eye
    return;
  }
  const glm::vec2 onMap = glm::vec2(clip) / clip.w;
  extent.low = first ? onMap : glm::min(extent.low, onMap);
  extent.high = first ? onMap : glm::max(extent.high, onMap);
  first = false;
}

void addJoined(std::vector<TexelBox>& apart, TexelBox box) {
  for (std::size_t i = 0; i < apart.size();) {
    if (!apart[i].meets(box)) {
      ++i;
      continue;
    }
    box = {std::min(box.x0, apart[i].x0), std::min(box.y0, apart[i].y0),
           std::max(box.x1, apart[i].x1), std::max(box.y1, apart[i].y1)};
    apart[i] = apart.back();
    apart.pop_back();
    i = 0;  // grown, it may meet a box it was already compared with
  }
  apart.push_back(box);
}

std::vector<TexelBox> CasterBounds::texels(GLsizei size, GLint margin) const {
  if (unbounded) return {{0, 0, size, size}};
  // From normalised device coordinates to texels, rounded outwards; clamped
  // first, so that a caster far off the map cannot overflow.
  const auto texel = [size](float ndc) {
    return std::clamp((ndc * 0.5f + 0.5f) * static_cast<float>(size), -1.0f,
                      static_cast<float>(size) + 1.0f);
  };
  const auto down = [&texel](float ndc) { return static_cast<GLint>(std::floor(texel(ndc))); };
  const auto up = [&texel](float ndc) { return static_cast<GLint>(std::ceil(texel(ndc))); };
  std::vector<TexelBox> boxes;
  for (const Extent& extent : extents) {
    const TexelBox box{std::max(down(extent.low.x) - margin, 0),
                       std::max(down(extent.low.y) - margin, 0),
                       std::min<GLint>(up(extent.high.x) + margin, size),
                       std::min<GLint>(up(extent.high.y) + margin, size)};
    if (!box.empty()) addJoined(boxes, box);
  }
  return boxes;
}

}  // namespace Vexa
