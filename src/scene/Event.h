#pragma once

#include <glm/vec3.hpp>
#include <string>

namespace Vexa::scene {

class SceneObject;

/// A scripted moment of a level. Every frame the scene container asks the event
/// whether the player sets it off; once it has triggered (for good) it runs every frame.
class Event {
 public:
  /// `triggerNode` (which may be null) is the centre of the trigger cube; `name`
  /// names the event in the level's state.
  Event(std::string name, const SceneObject* triggerNode);
  virtual ~Event() = default;
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  /// Whether the player at `position` sets the event off: never once triggered,
  /// otherwise when it is inside the trigger cube of `halfSize`.
  virtual bool check(const glm::vec3& position, float halfSize);
  /// One frame of the triggered event.
  virtual void run(double elapsedSeconds) = 0;

  /// Records the moment `check` first answered yes.
  void trigger(double now);
  /// Records that `run` has been called at least once.
  void markRun() { ran = true; }

  bool triggered() const { return isTriggered; }
  bool hasRun() const { return ran; }
  /// Clock seconds at the moment of triggering.
  float triggerTime() const { return triggeredAt; }
  const std::string& name() const { return eventName; }

 protected:
  /// The centre of the trigger cube from now on.
  void setTriggerNode(const SceneObject* node) { triggerNode = node; }
  /// Whether `position` lies strictly inside the cube of `halfSize` around the
  /// trigger node's world position; never without a node.
  bool insideTriggerCube(const glm::vec3& position, float halfSize) const;
  /// Restarts the event's own timing at `now`.
  void setTriggerTime(double now) { triggeredAt = static_cast<float>(now); }

 private:
  std::string eventName;
  const SceneObject* triggerNode;
  bool isTriggered = false;
  bool ran = false;
  float triggeredAt = 0.0f;
};

}  // namespace Vexa::scene
