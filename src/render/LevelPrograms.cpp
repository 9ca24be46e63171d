#include "render/LevelPrograms.h"

namespace Vexa {

// Members are built in declaration order, which is the table's order: a broken
// shader stops the game before any later file is read.
LevelPrograms::LevelPrograms()
    : enemy("Shader/enemy_shader.vert", "Shader/enemy_shader.frag"),
      texture("Shader/texture.vert", "Shader/texture.frag"),
      bat("Shader/bat_shader.vert", "Shader/bat_shader.frag"),
      levelText("Shader/level_text_shader.vert", "Shader/level_text_shader.frag"),
      sun("Shader/sun_shader.vert", "Shader/sun_shader.frag"),
      ruby("Shader/ruby_shader.vert", "Shader/ruby_shader.frag"),
      crosshair("Shader/crosshair_shader.vert", "Shader/crosshair_shader.frag"),
      sky("Shader/sky_shader.vert", "Shader/sky_shader.frag"),
      shadowMap("Shader/shadow_map_shader.vert", "Shader/shadow_map_shader.frag"),
      animatedShadowMap("Shader/shadow_map_shader_animations.vert",
                        "Shader/shadow_map_shader_animations_VSM.frag"),
      level("Shader/texture_shadow_VSM.vert", "Shader/texture_shadow_VSM.frag"),
      blurHorizontal("Shader/simple_blur.vert", "Shader/simple_blur_horizontal.frag"),
      blurVertical("Shader/simple_blur.vert", "Shader/simple_blur_vertical.frag") {}

}  // namespace Vexa
