#include "scene/mesh/Hemisphere.h"

#include "scene/mesh/Terrain.h"

namespace Vexa::scene::mesh {

Hemisphere::Hemisphere(ShaderProgram* program) : MeshObject(program, nullptr) {
  loadModel("Resources/Models/hemisphere.dae");
  localMatrix = Terrain::farPlacement(localMatrix);
  base = localMatrix;
}

}  // namespace Vexa::scene::mesh
