// vexa_load_model MODEL: loads one model the way the game's objects load theirs
// (the import and the textures its materials name) in a hidden window of the
// game's kind, from the run-time folder it is started in. Status 0 when the model
// loads; otherwise the game's own message and status -1.
#include <iostream>

#include "app/Window.h"
#include "render/ShaderProgram.h"
#include "scene/MeshObject.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: vexa_load_model MODEL\n";
    return 2;
  }
  const Vexa::Window window(Vexa::WindowMode::Windowed, false);
  Vexa::ShaderProgram program("Shader/enemy_shader.vert", "Shader/enemy_shader.frag");
  Vexa::scene::MeshObject model(&program, &program);
  model.loadModel(argv[1]);
  return 0;
}
