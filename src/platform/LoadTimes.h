#pragma once

#include <array>
#include <chrono>

namespace Vexa {

/// What loading spends its time on, totalled until the next `take`. Each loader
/// times its own work with a `Scope`; a benchmark takes the totals once start-up
/// is over and after each level switch. A scope within another counts for itself
/// alone: the outer one stands still meanwhile.
class LoadTimes {
 public:
  enum class Cause { ShaderCompilation, ModelImport, TextureDecoding, SoundLoading, PhysicsBuild };
  /// Counted from the last cause, which a new one goes before.
  static constexpr int causeCount = static_cast<int>(Cause::PhysicsBuild) + 1;
  /// Milliseconds per cause, in the order of `Cause`.
  using Totals = std::array<double, causeCount>;

  /// Counts the time it lives, less that of the scopes within it, as `cause`.
  class Scope {
   public:
    explicit Scope(Cause cause);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    void count(std::chrono::steady_clock::time_point now);

    Cause cause;
    Scope* outer;
    std::chrono::steady_clock::time_point since;
  };

  /// The totals since the last call; counting starts again from zero.
  static Totals take();
  static const char* name(Cause cause);

 private:
  static Totals totals;
  static Scope* innermost;
};

}  // namespace Vexa
