// vexa_contact_sheets: renders the game's characters at several moments of every
// animation segment the game plays, one PNG per model, one row per segment.
// Run it in the game's folder (beside Shader/ and Resources/); the sheets go to
// ContactSheets/ there, or to the folder given as the only argument.
#include <filesystem>
#include <iostream>
#include <vector>

#include "ModelRenderer.h"
#include "Program.h"
#include "SegmentRow.h"
#include "app/Window.h"
#include "scene/mesh/CharacterModels.h"

using namespace Vexa;

namespace {

using scene::mesh::CharacterModel;

/// The segment as the row renderer plays it.
viewer::Segment rowSegment(const CharacterModel& character, const scene::mesh::ClipSegment& s) {
  return {s.name, s.frames.first, s.frames.last, character.frameCount};
}

constexpr int samplesPerSegment = 6;
constexpr int cellSize = 256;
// Swings and tumbles reach far beyond the first pose the camera is framed on.
constexpr float framingMargin = 1.8f;

// Returns whether the model exists and had a clip to play.
bool writeSheet(const CharacterModel& character, const std::filesystem::path& folder) {
  const std::string& path = character.path;
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
    viewer::renderSegmentRow(
        renderer, model, rowSegment(character, character.segments[static_cast<std::size_t>(row)]),
        samplesPerSegment, sheet, row);
  }
  const std::filesystem::path output =
      folder / std::filesystem::path(path).filename().replace_extension(".png");
  sheet.write(output.string());
  std::cout << "wrote " << output.string() << ": rows";
  for (const auto& segment : character.segments) std::cout << " | " << segment.name;
  std::cout << "\n";
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path folder = "ContactSheets";
  tools::Program("vexa_contact_sheets", {"[FOLDER]"},
                 "Renders the game's characters at six moments of every animation segment the "
                 "game plays,\none PNG per model and one row per segment, into ContactSheets/ or "
                 "FOLDER.")
      .operands(0, 1,
                [&folder](const auto& words) {
                  if (!words.empty()) folder = words[0];
                })
      .read(argc, argv);
  std::filesystem::create_directories(folder);
  const Window window(WindowMode::Windowed, false);
  bool complete = true;
  for (const CharacterModel& character : scene::mesh::characterModels())
    complete = writeSheet(character, folder) && complete;
  return complete ? 0 : 1;
}
