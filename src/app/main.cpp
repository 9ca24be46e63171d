#include "app/Application.h"
#include "app/GameLevels.h"
#include "platform/DataFolder.h"

namespace {

#ifdef VEXA_FULLSCREEN
constexpr Vexa::WindowMode windowMode = Vexa::WindowMode::Fullscreen;
#else
constexpr Vexa::WindowMode windowMode = Vexa::WindowMode::Windowed;
#endif

}  // namespace

int main() {
  Vexa::DataFolder::enter();
  auto application = std::make_unique<Vexa::Application>(windowMode, Vexa::createGameLevel);
  application->presentOnVerticalSync(true);
  application->run();
  application.reset();
  return 0;
}
