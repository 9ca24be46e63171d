#pragma once

#include <cstdint>
#include <string>

#include "ContactSheet.h"
#include "ModelRenderer.h"

namespace Vexa::viewer {

/// Frames of a model's clip that the game plays as one segment.
struct Segment {
  std::string name;
  std::uint32_t first = 0;
  std::uint32_t last = 0;
  std::uint32_t frameCount = 1;
};

/// Plays `segment` the game's way (`play`, then updates on the game clock, which
/// this takes over) and renders `samples` evenly spaced moments of it, from its
/// start to its held end pose, into row `row` of `sheet`. The model must have an animation.
void renderSegmentRow(ModelRenderer& renderer, scene::MeshObject& model, const Segment& segment,
                      int samples, ContactSheet& sheet, int row);

}  // namespace Vexa::viewer
