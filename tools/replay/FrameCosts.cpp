#include "FrameCosts.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

namespace Vexa::replay {

namespace {

constexpr std::array<const char*, FrameObserver::phaseCount> phaseNames = {
    "update", "shadow pass", "blur passes", "main pass", "swap"};

double since(std::chrono::steady_clock::time_point start,
             std::chrono::steady_clock::time_point end) {
  return std::chrono::duration<double, std::milli>(end - start).count();
}

}  // namespace

/// The smallest sample that at least `share` of the samples do not exceed.
double percentile(std::vector<double> samples, double share) {
  std::sort(samples.begin(), samples.end());
  const auto rank =
      static_cast<std::size_t>(std::ceil(share * static_cast<double>(samples.size())));
  return samples[std::max<std::size_t>(rank, 1) - 1];
}

// Loading before the costs were made is none of theirs.
FrameCosts::FrameCosts() : created(std::chrono::steady_clock::now()) {
  LoadTimes::take();
}

void FrameCosts::start() {
  phaseStart = finishedWork();
  if (startup >= 0.0) return;
  startup = since(created, phaseStart);
  startupLoading = LoadTimes::take();
}

// A frame begins with its update phase.
void FrameCosts::phaseEnded(Phase phase, bool counted) {
  const auto end = finishedWork();
  if (phase == Phase::Update) frameList.emplace_back();
  const double ms = since(phaseStart, end);
  if (counted) milliseconds[static_cast<std::size_t>(phase)].push_back(ms);
  if (!frameList.empty())
    frameList.back().phases[static_cast<std::size_t>(phase)] = counted ? ms : -1.0;
  phaseStart = end;
}

void FrameCosts::frameEnded() {
  const auto end = finishedWork();
  if (frameList.empty()) return;
  frameList.back().afterSwap = since(phaseStart, end);
  frameList.back().loads = LoadTimes::take();
}

std::chrono::steady_clock::time_point FrameCosts::finishedWork() const {
  glFinish();
  return std::chrono::steady_clock::now();
}

void FrameCosts::print(std::ostream& out) const {
  char row[96];
  std::snprintf(row, sizeof row, "%-12s %8s %10s %10s\n", "phase", "frames", "median ms",
                "95th ms");
  out << row;
  for (std::size_t phase = 0; phase < phaseNames.size(); ++phase) {
    const std::vector<double>& samples = milliseconds[phase];
    if (samples.empty()) {
      std::snprintf(row, sizeof row, "%-12s %8d %10s %10s\n", phaseNames[phase], 0, "-", "-");
    } else {
      std::snprintf(row, sizeof row, "%-12s %8zu %10.3f %10.3f\n", phaseNames[phase],
                    samples.size(), percentile(samples, 0.5), percentile(samples, 0.95));
    }
    out << row;
  }
}

}  // namespace Vexa::replay
