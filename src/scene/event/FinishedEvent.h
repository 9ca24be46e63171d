#pragma once

#include "scene/Event.h"

namespace Vexa::scene::event {

/// A level's finish marker: from the frame the player reaches it, the level is finished.
class FinishedEvent : public Event {
 public:
  FinishedEvent(std::string name, const SceneObject* triggerNode, bool& finishedFlag);

  void run(double elapsedSeconds) override;

 private:
  bool& finishedFlag;
};

}  // namespace Vexa::scene::event
