#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "scene/mesh/CharacterModels.h"

namespace Vexa::test {

using scene::mesh::CharacterModel;
using scene::mesh::ClipSegment;
using scene::mesh::FrameRange;

/// The frames of the model's segment called `name`; the test fails when there is none.
inline FrameRange segmentFrames(const CharacterModel& model, const std::string& name) {
  const auto found = std::find_if(model.segments.begin(), model.segments.end(),
                                  [&](const ClipSegment& s) { return s.name == name; });
  EXPECT_NE(found, model.segments.end()) << model.path << " has no segment " << name;
  return found == model.segments.end() ? FrameRange{} : found->frames;
}

/// The segments the game restarts when they end.
inline std::vector<FrameRange> loopingSegments(const CharacterModel& model) {
  std::vector<FrameRange> loops;
  for (const ClipSegment& segment : model.segments) {
    if (segment.loops) loops.push_back(segment.frames);
  }
  return loops;
}

}  // namespace Vexa::test

namespace Vexa::scene::mesh {

/// Names a model by its file in test output.
inline void PrintTo(const CharacterModel& model, std::ostream* out) {
  *out << model.path;
}

}  // namespace Vexa::scene::mesh
