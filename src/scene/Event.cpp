#include "scene/Event.h"

#include <cmath>

#include "scene/SceneObject.h"

namespace Vexa::scene {

Event::Event(std::string name, const SceneObject* triggerNode)
    : eventName(std::move(name)), triggerNode(triggerNode) {}

bool Event::check(const glm::vec3& position, float halfSize) {
  return !isTriggered && insideTriggerCube(position, halfSize);
}

bool Event::insideTriggerCube(const glm::vec3& position, float halfSize) const {
  if (!triggerNode) return false;
  const glm::vec3 centre(triggerNode->globalMatrix()[3]);
  const glm::vec3 offset = glm::abs(position - centre);
  return offset.x < halfSize && offset.y < halfSize && offset.z < halfSize;
}

void Event::trigger(double now) {
  isTriggered = true;
  triggeredAt = static_cast<float>(now);
}

}  // namespace Vexa::scene
