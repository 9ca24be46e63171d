#include "scene/mesh/Ruby.h"

namespace Vexa::scene::mesh {

Ruby::Ruby(ShaderProgram* program, ShaderProgram* shadowProgram)
    : MeshObject(program, shadowProgram) {
  loadModel("Resources/Models/ruby.dae");
  translucent = true;
}

}  // namespace Vexa::scene::mesh
