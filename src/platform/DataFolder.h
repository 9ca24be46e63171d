#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace Vexa {

/// The folder holding the game's data, Shader/ and Resources/, which the game reads by
/// paths relative to its working directory. A game started beside its data reads it
/// there as always; one started anywhere else first moves into the folder that holds it.
class DataFolder {
 public:
  using Path = std::filesystem::path;

  /// Where the data may lie, in order of preference: the working directory, the
  /// executable's own folder (a build's bin/), the installed data folder relative to the
  /// executable (so a relocated or DESTDIR install reads its own data), and the installed
  /// data folder at the configured prefix. An empty executable leaves out the two folders
  /// found from it.
  static std::vector<Path> candidates(const Path& workingDirectory, const Path& executable);

  /// The first candidate that holds a Shader/ folder; none when no candidate does.
  static std::optional<Path> find(const std::vector<Path>& candidates);

  /// Makes the data folder the working directory. When no candidate holds the data the
  /// working directory stays, and the first file the game misses ends it with the usual
  /// fatal message.
  static void enter();
};

}  // namespace Vexa
