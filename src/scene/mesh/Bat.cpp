#include "scene/mesh/Bat.h"

#include "animation/Animation.h"
#include "scene/mesh/CharacterModels.h"

namespace Vexa::scene::mesh {

Bat::Bat(ShaderProgram* program, ShaderProgram* shadowProgram, SoundSystem* sounds,
         unsigned variant)
    : MeshObject(program, shadowProgram),
      swingSound(sounds, "fast_swing_woosh.wav"),
      modelVariant(variant) {
  loadModel(batModelPath(variant));
  localMatrix = batLocalMatrix();
}

void Bat::update(double elapsedSeconds, const glm::mat4& parentWorld, const CameraMatrices& camera,
                 bool culling) {
  restartFinishedSegment();
  MeshObject::update(elapsedSeconds, parentWorld, camera, culling);
}

void Bat::updateWithoutCamera(double elapsedSeconds, const glm::mat4& parentWorld) {
  restartFinishedSegment();
  MeshObject::updateWithoutCamera(elapsedSeconds, parentWorld);
}

// Segments loop by being started again; a swing that has run out goes on walking,
// and the player turns that into idling when the character stands still.
void Bat::restartFinishedSegment() {
  if (!clip().segmentEnded()) return;
  if (batState == BatState::Swing) batState = BatState::Walk;
  playStateAnimation();
}

void Bat::swing() {
  if (batState == BatState::Swing) return;
  setState(BatState::Swing);
  playStateAnimation();
  swingSound.play();
}

void Bat::playStateAnimation() {
  const BatClip& c = batClip;
  switch (batState) {
    case BatState::Swing:
      struck = false;
      clip().play(c.swingFirst, c.swingLast, c.frameCount);
      break;
    case BatState::Idle:
      clip().play(c.idleFirst, c.idleLast, c.frameCount);
      break;
    case BatState::Walk:
      clip().play(c.walkFirst, c.walkLast, c.frameCount);
      break;
  }
}

void Bat::setState(BatState state) {
  clip().endSegment();
  batState = state;
}

double Bat::swingStartTime() const {
  return clip().startTime();
}

}  // namespace Vexa::scene::mesh
