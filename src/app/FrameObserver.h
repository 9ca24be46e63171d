#pragma once

namespace Vexa {

/// Looks on at the frame loop from outside. The game installs none; a tool that
/// times the phases, takes pictures of frames or ends the loop early does.
class FrameObserver {
 public:
  /// The phases of a frame, in the order they run.
  enum class Phase { Update, ShadowPass, Blur, MainPass, Swap };
  /// Counted from the last phase, the swap, which always ends a frame.
  static constexpr int phaseCount = static_cast<int>(Phase::Swap) + 1;

  virtual ~FrameObserver() = default;

  /// Before anything of the frame happens, its reading of the clock included;
  /// only the input has gathered the presses since the last frame.
  virtual void frameBegins() = 0;
  /// As each phase ends. After the main pass the frame's picture is complete in
  /// the back buffer and not yet presented.
  virtual void phaseEnded(Phase phase) = 0;
  /// After the whole frame, the level switch it caused included; false ends the loop.
  virtual bool frameEnded() = 0;
  /// Whether anybody looks at the frame's picture. A frame nobody looks at skips
  /// the shadow and blur passes and its presentation, and runs the main pass with
  /// the rasterizer off: the level still culls and counts what it would draw.
  virtual bool drawsFrame() const = 0;
};

}  // namespace Vexa
