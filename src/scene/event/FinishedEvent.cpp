#include "scene/event/FinishedEvent.h"

namespace Vexa::scene::event {

FinishedEvent::FinishedEvent(std::string name, const SceneObject* triggerNode, bool& finishedFlag)
    : Event(std::move(name), triggerNode), finishedFlag(finishedFlag) {}

void FinishedEvent::run(double) {
  finishedFlag = true;
}

}  // namespace Vexa::scene::event
