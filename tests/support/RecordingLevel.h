#pragma once

#include <functional>
#include <vector>

#include "scene/Level.h"

namespace Vexa::test {

/// A level that records what the frame loop and the controls ask of it. It builds
/// the real thirteen programs, so the loop's passes run against real GL objects.
class RecordingLevel final : public Level {
 public:
  using UpdateHook = std::function<void(RecordingLevel&)>;

  explicit RecordingLevel(int number, UpdateHook onUpdate = {})
      : number(number), onUpdate(std::move(onUpdate)) {}

  void update(double elapsedSeconds) override {
    updates.push_back(elapsedSeconds);
    if (onUpdate) onUpdate(*this);
  }
  void draw() override {
    ++draws;
    drawnObjects = objectsToReport;
  }
  void drawShadowMap() override { ++shadowDraws; }
  void rotateCamera(float pitchChange, float yawChange) override {
    rotations.push_back({pitchChange, yawChange});
  }
  void movePlayer(const glm::vec3& direction) override { moves.push_back(direction); }
  void jump() override { ++jumps; }
  void swingBat() override { ++swings; }
  LevelState state() const override { return {}; }

  void finish() { finishedFlag = true; }

  struct Rotation {
    float pitchChange;
    float yawChange;
  };

  const int number;
  UpdateHook onUpdate;
  int objectsToReport = 0;
  std::vector<double> updates;
  std::vector<glm::vec3> moves;
  std::vector<Rotation> rotations;
  int draws = 0;
  int shadowDraws = 0;
  int jumps = 0;
  int swings = 0;
};

}  // namespace Vexa::test
