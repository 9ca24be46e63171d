#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/LoadTimes.h"

namespace Vexa::test {
namespace {

using Cause = LoadTimes::Cause;

double sum(const LoadTimes::Totals& totals) {
  double all = 0.0;
  for (const double milliseconds : totals) all += milliseconds;
  return all;
}

// A texture decoded while a model is imported counts as the texture's time only,
// so the causes never add up to more than the time that passed.
TEST(LoadTimesTest, AScopeWithinAnotherCountsForItselfAloneAndTakingStartsAfresh) {
  LoadTimes::take();
  const auto start = std::chrono::steady_clock::now();
  {
    const LoadTimes::Scope model(Cause::ModelImport);
    {
      const LoadTimes::Scope texture(Cause::TextureDecoding);
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  const double elapsed =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const LoadTimes::Totals totals = LoadTimes::take();
  EXPECT_GE(totals[static_cast<std::size_t>(Cause::TextureDecoding)], 30.0);
  EXPECT_GE(totals[static_cast<std::size_t>(Cause::ModelImport)], 10.0);
  EXPECT_LE(sum(totals), elapsed);
  EXPECT_EQ(sum(LoadTimes::take()), 0.0);
  EXPECT_STREQ(LoadTimes::name(Cause::PhysicsBuild), "physics");
}

}  // namespace
}  // namespace Vexa::test
