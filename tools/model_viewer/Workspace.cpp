#include "Workspace.h"

#include <cstdlib>
#include <string>

#include "platform/Fatal.h"

namespace Vexa::viewer {

namespace fs = std::filesystem;

Workspace::Workspace(const fs::path& programFolder, const fs::path& model)
    : previous(fs::current_path()) {
  std::string pattern = (fs::temp_directory_path() / "vexa-viewer-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) fatalError("could not create a working folder");
  folder = pattern;
  fs::create_directory_symlink(programFolder / "Shader", folder / "Shader");
  fs::create_directories(folder / "Resources");
  fs::create_directory_symlink(textureFolderFor(model), folder / "Resources" / "Textures");
  fs::current_path(folder);
}

Workspace::~Workspace() {
  fs::current_path(previous);
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

fs::path Workspace::textureFolderFor(const fs::path& model) {
  const fs::path modelFolder = fs::absolute(model).parent_path();
  const fs::path gameTextures = modelFolder.parent_path() / "Textures";
  if (modelFolder.filename() == "Models" && fs::is_directory(gameTextures)) return gameTextures;
  return modelFolder;
}

}  // namespace Vexa::viewer
