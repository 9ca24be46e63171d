#pragma once

#include <string>

#include "scene/MeshObject.h"

namespace Vexa {
class PhysicsWorld;
}

namespace Vexa::scene::mesh {

/// A level's geometry: the level file, scaled up, whose "Level" node becomes the
/// ground every body stands on and whose "Sun" node lights the scene.
class Path : public MeshObject {
 public:
  /// Loads level `levelNumber`; the "Sun" node must be there. The "Level" node's
  /// meshes, if any, become the physics world's ground.
  Path(ShaderProgram* program, ShaderProgram* shadowProgram, int levelNumber,
       PhysicsWorld* physicsWorld);

  /// The node named exactly `name`; a level file without it ends the game with a
  /// message naming the file and the node.
  MeshObject& requiredNode(const std::string& name);

  /// How much larger the level is drawn than its file models it.
  float scale() const { return levelScaleFactor; }

 private:
  void buildGround();
  void addSunLight();

  std::string path;
  float levelScaleFactor;
  PhysicsWorld* physicsWorld;
};

}  // namespace Vexa::scene::mesh
