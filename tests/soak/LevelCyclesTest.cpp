#include <gtest/gtest.h>
#include <unistd.h>

#if !defined(__SANITIZE_ADDRESS__)
#include <malloc.h>
#endif

#include <fstream>
#include <iostream>
#include <sstream>

#include "ReplayRunner.h"
#include "support/FinishingLevels.h"

namespace Vexa::test {
namespace {

constexpr int cycles = 10;

/// Every level ends as it starts, so a run passes through levels 1 to 4 within a
/// few frames and stays in the closing scene until Escape.
replay::Replay throughTheLevels() {
  replay::Replay replay{1.0 / 60.0, 1700000000, 1, {}};
  replay.spans.push_back({30, {}});
  replay.spans.push_back({1, {{Key::Escape}, false, 0, 0}});
  return replay;
}

// The allocator's cached free memory is handed back before each reading, so that
// resident memory counts what the game holds rather than what the allocator keeps.
#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's own interface; GCC installs no header for it.
extern "C" void __sanitizer_purge_allocator();
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
void settleAllocator() {
  __sanitizer_purge_allocator();
}
std::size_t heapInUse() {
  return __sanitizer_get_current_allocated_bytes();
}
#else
void settleAllocator() {
  malloc_trim(0);
}
std::size_t heapInUse() {
  return mallinfo2().uordblks;
}
#endif

long residentKilobytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Each cycle is a whole game in the same process: window, context, the four
// levels, shut down again. Built with the sanitizers, the process also ends
// with a report, and a failing status, on any leak or use after free.
TEST(LevelCyclesTest, TenCyclesThroughTheFourLevelsKeepResidentMemoryLevelWithoutGlErrors) {
  std::vector<long> resident;
  std::vector<std::size_t> heap;
  testing::internal::CaptureStderr();
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    replay::RunOptions options;
    options.stateEvery = 1;
    options.drawEveryFrame = false;
    std::ostringstream lines;
    replay::ReplayRunner runner(options, startingAtTheFinish, lines);
    runner.play(throughTheLevels());
    EXPECT_NE(lines.str().rfind("{\"frame\":31,\"level\":4,"), std::string::npos)
        << "cycle " << cycle << " ended outside the closing scene";
    settleAllocator();
    resident.push_back(residentKilobytes());
    heap.push_back(heapInUse());
  }
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(errors.find("GL ERROR DETECTED"), std::string::npos) << errors;

  std::cout << "resident memory after each cycle (MB):";
  for (const long kilobytes : resident) std::cout << " " << kilobytes / 1024;
  std::cout << "\nheap in use after each cycle (MB):";
  for (const std::size_t bytes : heap) std::cout << " " << bytes / (1024 * 1024);
  std::cout << std::endl;
  const double second = static_cast<double>(resident[1]);
  EXPECT_LE(static_cast<double>(resident.back()), second * 1.05);
  EXPECT_GE(static_cast<double>(resident.back()), second * 0.95);
}

}  // namespace
}  // namespace Vexa::test
