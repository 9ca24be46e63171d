#pragma once

#include "scene/MeshObject.h"

namespace Vexa::scene::mesh {

/// The gem of the first level's elevator sequence: shown, spun and collected by its event.
class Ruby : public MeshObject {
 public:
  Ruby(ShaderProgram* program, ShaderProgram* shadowProgram);
};

}  // namespace Vexa::scene::mesh
