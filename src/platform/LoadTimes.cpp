#include "platform/LoadTimes.h"

namespace Vexa {

LoadTimes::Totals LoadTimes::totals{};
LoadTimes::Scope* LoadTimes::innermost = nullptr;

LoadTimes::Scope::Scope(Cause cause)
    : cause(cause), outer(innermost), since(std::chrono::steady_clock::now()) {
  if (outer) outer->count(since);
  innermost = this;
}

LoadTimes::Scope::~Scope() {
  const auto now = std::chrono::steady_clock::now();
  count(now);
  innermost = outer;
  if (outer) outer->since = now;
}

void LoadTimes::Scope::count(std::chrono::steady_clock::time_point now) {
  totals[static_cast<std::size_t>(cause)] +=
      std::chrono::duration<double, std::milli>(now - since).count();
  since = now;
}

LoadTimes::Totals LoadTimes::take() {
  const Totals taken = totals;
  totals = {};
  return taken;
}

const char* LoadTimes::name(Cause cause) {
  static constexpr std::array<const char*, causeCount> names = {"shaders", "models", "textures",
                                                                "sounds", "physics"};
  return names[static_cast<std::size_t>(cause)];
}

}  // namespace Vexa
