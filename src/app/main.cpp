#include "app/Application.h"
#include "app/GameLevels.h"

namespace {

#ifdef VEXA_FULLSCREEN
constexpr Vexa::WindowMode windowMode = Vexa::WindowMode::Fullscreen;
#else
constexpr Vexa::WindowMode windowMode = Vexa::WindowMode::Windowed;
#endif

}  // namespace

int main() {
  auto application = std::make_unique<Vexa::Application>(windowMode, Vexa::createGameLevel);
  application->presentOnVerticalSync(true);
  application->run();
  application.reset();
  return 0;
}
