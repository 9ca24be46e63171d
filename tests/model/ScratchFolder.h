#pragma once

#include <filesystem>
#include <string>

namespace Vexa::test {

/// Runs a test in a fresh folder of its own, with the game's Shader/ linked in, so
/// files the test writes under Resources/ never mix with the game's. Restores the
/// working folder and removes the scratch folder afterwards.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  /// Writes `contents` to `relativePath`, creating its folders.
  void write(const std::string& relativePath, const std::string& contents) const;

  const std::filesystem::path& path() const { return folder; }

 private:
  std::filesystem::path previous;
  std::filesystem::path folder;
};

}  // namespace Vexa::test
