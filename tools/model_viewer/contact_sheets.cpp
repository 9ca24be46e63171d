// vexa_contact_sheets: renders the game's characters at several moments of every
// animation segment the game plays, one PNG per model, one row per segment.
// Run it in the game's folder (beside Shader/ and Resources/); the sheets go to
// ContactSheets/ there, or to the folder given as the only argument.
#include <filesystem>
#include <iostream>
#include <vector>

#include "ModelRenderer.h"
#include "SegmentRow.h"
#include "app/Window.h"

using namespace Vexa;

namespace {

struct Character {
  std::string model;
  std::vector<viewer::Segment> segments;
};

std::vector<viewer::Segment> batSegments() {
  return {{"idle", 0, 54, 107}, {"walk", 61, 81, 107}, {"swing", 81, 107, 107}};
}

std::vector<viewer::Segment> walkerSegments() {
  return {{"idle A", 0, 66, 240},           {"idle B", 66, 124, 240},
          {"start walking", 132, 150, 240}, {"walk", 150, 190, 240},
          {"stop walking", 190, 208, 240},  {"hit", 214, 240, 240}};
}

const std::vector<Character>& characters() {
  static const std::vector<Character> all = {
      {"baseball_bat", batSegments()},
      {"baseball_bat_1", batSegments()},
      {"monster1_animation", walkerSegments()},
      {"monster1_animation_special", walkerSegments()},
      {"monster2_animation",
       {{"idle A", 0, 55, 226},
        {"idle B", 55, 89, 226},
        {"start walking", 89, 128, 226},
        {"walk", 128, 156, 226},
        {"stop walking", 156, 176, 226},
        {"hit", 186, 226, 226}}},
      {"monster3_animation",
       {{"idle A", 0, 68, 286},
        {"idle B", 124, 171, 286},
        {"start walking", 68, 68, 286},
        {"walk", 68, 124, 286},
        {"stop walking", 124, 124, 286},
        {"hit", 227, 286, 286}}},
  };
  return all;
}

constexpr int samplesPerSegment = 6;
constexpr int cellSize = 256;
// Swings and tumbles reach far beyond the first pose the camera is framed on.
constexpr float framingMargin = 1.8f;

// Returns whether the model exists and had a clip to play.
bool writeSheet(const Character& character, const std::filesystem::path& folder) {
  const std::string path = "Resources/Models/" + character.model + ".dae";
  if (!std::filesystem::exists(path)) {
    std::cerr << "missing " << path << ", skipped\n";
    return false;
  }
  viewer::ModelRenderer renderer(cellSize, cellSize, framingMargin);
  scene::MeshObject model(renderer.program(), nullptr);
  model.loadModel(path);
  if (!model.animation()) {
    std::cerr << path << " has no animation, skipped\n";
    return false;
  }
  const auto rows = static_cast<int>(character.segments.size());
  viewer::ContactSheet sheet(samplesPerSegment, rows, cellSize, cellSize);
  for (int row = 0; row < rows; ++row) {
    viewer::renderSegmentRow(renderer, model, character.segments[static_cast<std::size_t>(row)],
                             samplesPerSegment, sheet, row);
  }
  const std::filesystem::path output = folder / (character.model + ".png");
  sheet.write(output.string());
  std::cout << "wrote " << output.string() << ": rows";
  for (const auto& segment : character.segments) std::cout << " | " << segment.name;
  std::cout << "\n";
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path folder = argc > 1 ? argv[1] : "ContactSheets";
  std::filesystem::create_directories(folder);
  const Window window(WindowMode::Windowed, false);
  bool complete = true;
  for (const Character& character : characters())
    complete = writeSheet(character, folder) && complete;
  return complete ? 0 : 1;
}
