#pragma once

#include <glm/vec3.hpp>

#include "audio/SoundClip.h"
#include "scene/MeshObject.h"

namespace Vexa {
class Animation;
class SoundSystem;
}  // namespace Vexa

namespace Vexa::scene::mesh {

/// Which segment of the bat's clip plays.
enum class BatState { Swing = 0, Idle = 1, Walk = 2 };

/// The player's baseball bat, seen in first person. Every segment of its clip is
/// restarted when it ends; a finished swing carries on walking. The player switches
/// between idle and walk, strikes during a swing and marks the swing as having hit.
class Bat : public MeshObject {
 public:
  /// Variant 0 is the ordinary bat, 1 the upgraded one.
  Bat(ShaderProgram* program, ShaderProgram* shadowProgram, SoundSystem* sounds, unsigned variant);

  void update(double elapsedSeconds, const glm::mat4& parentWorld, const CameraMatrices& camera,
              bool culling) override;
  void updateWithoutCamera(double elapsedSeconds, const glm::mat4& parentWorld) override;
  /// The bat casts no shadow.
  void drawShadow() override {}
  void boundShadow(CasterBounds&, const Animation*) const override {}

  /// Starts a swing with its sound, unless one is under way: a swing cannot be
  /// interrupted or restarted.
  void swing();
  /// Starts the segment of the current state from its first frame; a swing also
  /// forgets that the last swing hit.
  void playStateAnimation();

  BatState state() const { return batState; }
  /// 0 for the ordinary bat, 1 for the upgraded one.
  unsigned variant() const { return modelVariant; }
  /// Stops the running segment; the next update starts the one of `state`.
  void setState(BatState state);

  /// The current swing has already struck an enemy.
  bool hasHit() const { return struck; }
  void markHit() { struck = true; }
  /// Clock reading at which the current segment (during a swing, the swing) started.
  double swingStartTime() const;

  /// Places the swing sound, so that it comes from the player.
  void moveSoundTo(const glm::vec3& position) { swingSound.moveTo(position); }

 private:
  Animation& clip() const { return *animation(); }
  void restartFinishedSegment();

  SoundClip swingSound;
  unsigned modelVariant;
  BatState batState = BatState::Idle;
  bool struck = false;
};

}  // namespace Vexa::scene::mesh
