#include "platform/Clock.h"

#include <GLFW/glfw3.h>

namespace Vexa {

namespace {

Clock::Source& source() {
  static Clock::Source current;
  return current;
}

}  // namespace

double Clock::now() {
  return source() ? source()() : glfwGetTime();
}

void Clock::use(Source replacement) {
  source() = std::move(replacement);
}

}  // namespace Vexa
