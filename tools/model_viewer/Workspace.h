#pragma once

#include <filesystem>

namespace Vexa::viewer {

/// A scratch working folder laid out the way the game's loader expects: "Shader"
/// links to the shaders beside the viewer, "Resources/Textures" to where the
/// model's textures are (the "Textures" folder beside a "Models" folder, as in the
/// game, otherwise the model's own folder). Removed again on destruction.
class Workspace {
 public:
  Workspace(const std::filesystem::path& programFolder, const std::filesystem::path& model);
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  static std::filesystem::path textureFolderFor(const std::filesystem::path& model);

 private:
  std::filesystem::path previous;
  std::filesystem::path folder;
};

}  // namespace Vexa::viewer
