#include "model/ScratchFolder.h"

#include <unistd.h>

#include <fstream>
#include <string>

namespace Vexa::test {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() : previous(fs::current_path()) {
  std::string pattern = (fs::temp_directory_path() / "vexa-model-XXXXXX").string();
  folder = mkdtemp(pattern.data());
  fs::create_directory_symlink(previous / "Shader", folder / "Shader");
  fs::current_path(folder);
}

ScratchFolder::~ScratchFolder() {
  fs::current_path(previous);
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

void ScratchFolder::write(const std::string& relativePath, const std::string& contents) const {
  const fs::path file = folder / relativePath;
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << contents;
}

}  // namespace Vexa::test
