#include "scene/Level3.h"

#include <btBulletDynamicsCommon.h>

#include "physic/DynamicRigidBody.h"
#include "scene/LevelFiles.h"
#include "scene/SceneContainer.h"
#include "scene/event/Level3BossStartWalking.h"
#include "scene/event/Level3DoorsOpenEvent.h"
#include "scene/mesh/Path.h"
#include "scene/mesh/Walker.h"

namespace Vexa {

namespace {

constexpr float bossMass = 2.5f;

/// Makes the boss heavy: its mass, with the inertia of its capsule.
void weigh(physic::DynamicRigidBody& body) {
  btVector3 inertia(0.0f, 0.0f, 0.0f);
  body.collisionShape().calculateLocalInertia(bossMass, inertia);
  body.rigidBody().setMassProps(bossMass, inertia);
}

}  // namespace

Level3::Level3(PhysicsWorld& physicsWorld, float width, float height)
    : Level(physicsWorld, width, height) {
  scene::mesh::Path& geometry = buildPlayableLevel(3, /*standStill=*/false);
  if (geometry.findNode(bigEnemyNode)) addBoss(geometry);
}

// The boss guards the doors: it waits on its platform until the player comes near,
// and is beaten by knocking it off, which opens the doors.
void Level3::addBoss(scene::mesh::Path& geometry) {
  LevelPrograms& programs = shaderPrograms();
  auto boss = std::make_unique<scene::mesh::Walker>(&programs.enemy, &programs.animatedShadowMap,
                                                    &sounds(), &physicsWorld,
                                                    /*standStill=*/false, /*special=*/true);
  boss->createBody(glm::vec3(geometry.requiredNode(bigEnemyNode).globalMatrix()[3]));
  boss->setScale(bossScale);
  weigh(*boss->body());
  boss->modelYaw -= 90.0f;
  boss->killHeight = bossKillHeight;
  boss->standStill = true;
  scene::mesh::Walker& walker = scene().add(std::move(boss));
  scene().addEvent(std::make_unique<scene::event::Level3DoorsOpenEvent>(geometry, walker,
                                                                        physicsWorld, sounds()));
  scene().addEvent(std::make_unique<scene::event::Level3BossStartWalking>(walker, player()));
}

}  // namespace Vexa
