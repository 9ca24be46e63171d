#pragma once

#include <optional>
#include <string>

#include "SegmentRow.h"

namespace Vexa::viewer {

/// What the viewer was asked to show, from its command line:
///   vexa_model_viewer MODEL OUTPUT.png [--size WIDTHxHEIGHT] [--time TICKS]
///                     [--segment FIRST LAST FRAMES [--samples N]]
/// Paths are made absolute, since the viewer works in a folder of its own.
struct ViewerOptions {
  std::string model;
  std::string output;
  int width = 640;
  int height = 480;
  std::optional<double> time;
  std::optional<Segment> segment;
  int samples = 6;

  /// Ends the program with the usage text and status 2 on a malformed command line.
  static ViewerOptions parse(int argc, char** argv);
};

}  // namespace Vexa::viewer
