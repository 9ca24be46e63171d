// vexa_model_viewer: renders any COLLADA file through the game's own loader into a PNG.
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "ModelRenderer.h"
#include "ViewerOptions.h"
#include "Workspace.h"
#include "animation/Animation.h"
#include "app/Window.h"
#include "platform/Fatal.h"

using namespace Vexa;

namespace {

std::filesystem::path programFolder() {
  return std::filesystem::canonical("/proc/self/exe").parent_path();
}

viewer::ContactSheet render(const viewer::ViewerOptions& options, viewer::ModelRenderer& renderer,
                            scene::MeshObject& model) {
  if (options.segment) {
    if (!model.animation()) fatalError("the model has no animation to play");
    viewer::ContactSheet strip(options.samples, 1, options.width, options.height);
    viewer::renderSegmentRow(renderer, model, *options.segment, options.samples, strip, 0);
    return strip;
  }
  if (model.animation()) model.animation()->evaluate(options.time.value_or(0.0), model.localMatrix);
  viewer::ContactSheet single(1, 1, options.width, options.height);
  single.place(0, 0, renderer.render(model));
  return single;
}

}  // namespace

int main(int argc, char** argv) {
  tools::Program program("vexa_model_viewer",
                         {"MODEL OUTPUT.png [--size WIDTHxHEIGHT] [--time TICKS]\n"
                          "                         [--segment FIRST LAST FRAMES [--samples N]]"},
                         "Renders a COLLADA model through the game's own loader into a PNG, still "
                         "or as a strip of\nmoments of its animation.");
  const auto options = viewer::ViewerOptions::read(program, argc, argv);
  // Static, so that a fatal error, which exits without unwinding, still removes it.
  static const viewer::Workspace workspace(programFolder(), options.model);
  const Window window(WindowMode::Windowed, false);
  viewer::ModelRenderer renderer(options.width, options.height);
  scene::MeshObject model(renderer.program(), nullptr);
  model.loadModel(options.model);
  render(options, renderer, model).write(options.output);
  std::cout << "wrote " << options.output << "\n";
  return 0;
}
