#pragma once

#include <cstddef>
#include <memory>

#include "scene/mesh/Enemy.h"

namespace Vexa::scene::mesh {

/// An enemy of the kind `turn` names: a Roller on 0, a Jumper on 1, an ordinary
/// Walker on 2.
std::unique_ptr<Enemy> enemyOfKind(std::size_t turn, ShaderProgram* program,
                                   ShaderProgram* shadowProgram, SoundSystem* soundSystem,
                                   PhysicsWorld* world, bool standStill);

}  // namespace Vexa::scene::mesh
