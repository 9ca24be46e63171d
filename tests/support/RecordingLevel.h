#pragma once

#include <functional>
#include <vector>

#include "scene/Level.h"

namespace Vexa::test {

/// A level that records what the frame loop and the controls ask of it instead of
/// doing it. It builds the real programs and cast, so the loop's passes run against
/// real GL objects, but it has no geometry.
class RecordingLevel final : public Level {
 public:
  using UpdateHook = std::function<void(RecordingLevel&)>;

  RecordingLevel(int number, PhysicsWorld& physics, UpdateHook onUpdate = {})
      : Level(physics, 1024.0f, 768.0f), number(number), onUpdate(std::move(onUpdate)) {}

  void update(double elapsedSeconds) override {
    updates.push_back(elapsedSeconds);
    if (onUpdate) onUpdate(*this);
  }
  void draw() override {
    ++draws;
    drawn = objectsToReport;
  }
  int drawnObjects() const override { return drawn; }
  void drawShadowMap() override { ++shadowDraws; }
  void finish() { finishedFlag = true; }
  void rotateCamera(float pitchChange, float yawChange) override {
    rotations.push_back({pitchChange, yawChange});
  }
  void movePlayer(const glm::vec3& direction) override { moves.push_back(direction); }
  void jump() override { ++jumps; }
  void swingBat() override { ++swings; }

  struct Rotation {
    float pitchChange;
    float yawChange;
  };

  const int number;
  UpdateHook onUpdate;
  /// What a draw reports as drawn.
  int objectsToReport = 0;
  int drawn = 0;
  std::vector<double> updates;
  std::vector<glm::vec3> moves;
  std::vector<Rotation> rotations;
  int draws = 0;
  int shadowDraws = 0;
  int jumps = 0;
  int swings = 0;
};

}  // namespace Vexa::test
