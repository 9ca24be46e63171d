#pragma once

#include "render/ShaderProgram.h"

namespace Vexa {

/// The thirteen programs every level builds, in the order of construction.
/// The level owns them; objects, meshes and the application hold plain pointers.
struct LevelPrograms {
  LevelPrograms();

  ShaderProgram enemy;
  ShaderProgram texture;
  ShaderProgram bat;
  ShaderProgram levelText;
  ShaderProgram sun;
  ShaderProgram ruby;
  ShaderProgram crosshair;
  ShaderProgram sky;
  ShaderProgram shadowMap;
  ShaderProgram animatedShadowMap;
  ShaderProgram level;  // lit and shadow-receiving; the frame loop binds "shadow_map" in it
  ShaderProgram blurHorizontal;
  ShaderProgram blurVertical;
};

}  // namespace Vexa
