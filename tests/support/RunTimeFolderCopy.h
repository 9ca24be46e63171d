#pragma once

#include <filesystem>

namespace Vexa::test {

/// Runs the game's files from a copy of the run-time folder, removed with the object,
/// in which every file is a link to the original until the test puts its own in its
/// place. The copy is the working folder while the object lives.
class RunTimeFolderCopy {
 public:
  RunTimeFolderCopy();
  ~RunTimeFolderCopy();
  RunTimeFolderCopy(const RunTimeFolderCopy&) = delete;
  RunTimeFolderCopy& operator=(const RunTimeFolderCopy&) = delete;

  /// Takes the link of `file`, relative to the run-time folder, out of the copy and
  /// answers where the test writes the file's replacement. Folders on the way become
  /// real folders of links, so the original is never written.
  std::filesystem::path replace(const std::filesystem::path& file) const;

  const std::filesystem::path& path() const { return copy; }
  /// The run-time folder the copy links to.
  const std::filesystem::path& originalPath() const { return original; }

 private:
  std::filesystem::path original;
  std::filesystem::path copy;
};

}  // namespace Vexa::test
