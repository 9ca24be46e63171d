#pragma once

#include <optional>
#include <string>

#include "Program.h"
#include "SegmentRow.h"

namespace Vexa::viewer {

/// What the viewer was asked to show, from its command line. Paths are made
/// absolute, since the viewer works in a folder of its own.
struct ViewerOptions {
  std::string model;
  std::string output;
  int width = 640;
  int height = 480;
  std::optional<double> time;
  std::optional<Segment> segment;
  int samples = 6;

  /// Reads the viewer's command line with `program`, which ends a malformed one.
  static ViewerOptions read(tools::Program& program, int argc, char** argv);
};

}  // namespace Vexa::viewer
