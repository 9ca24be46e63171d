// Prints what building each level costs as the game switches to it (the old level
// gone, a new physics world, the next level built) and what the guarded model
// imports take of that: the imports themselves and, measured again in this process
// without the guard, what the guard adds. Run it from the run-time folder, beside
// Shader/ and Resources/, with a display (xvfb-run).

#include <GL/glew.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/GameLevels.h"
#include "app/Window.h"
#include "physic/PhysicsWorld.h"
#include "render/ModelLoader.h"
#include "scene/Level.h"
#include "scene/ModelCache.h"

namespace {

using namespace Vexa;
using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Import {
  std::string path;
  double milliseconds;
};

}  // namespace

int main() {
  const Window window(WindowMode::Windowed, false);
  Level::discardSound = true;
  std::vector<Import> imports;
  scene::ModelCache::observeImports([&imports](const std::string& path, double seconds) {
    imports.push_back({path, seconds * 1000});
  });
  std::unique_ptr<PhysicsWorld> world;
  std::unique_ptr<Level> level;
  std::printf("%-10s %10s %8s %12s %14s %11s\n", "switch", "build ms", "imports", "guarded ms",
              "in-process ms", "guard ms");
  for (int number = 1; number <= 4; ++number) {
    imports.clear();
    const auto start = Clock::now();
    level.reset();
    world = std::make_unique<PhysicsWorld>();
    level = createGameLevel(number, *world, 1024, 768);
    glFinish();
    const double build = millisecondsSince(start);
    double guarded = 0;
    double inProcess = 0;
    for (const Import& import : imports) {
      guarded += import.milliseconds;
      const auto again = Clock::now();
      ModelLoader::import(import.path);
      inProcess += millisecondsSince(again);
    }
    const std::string label =
        number == 1 ? "start-up" : std::to_string(number - 1) + "->" + std::to_string(number);
    std::printf("%-10s %10.1f %8zu %12.1f %14.1f %11.1f\n", label.c_str(), build, imports.size(),
                guarded, inProcess, guarded - inProcess);
  }
  scene::ModelCache::observeImports(nullptr);
  return 0;
}
