#pragma once

#include <string>

namespace Vexa::viewer {

/// Imports `path` with the game's Assimp settings in a child process first: on a
/// malformed file Assimp may crash, abort on an internal assertion or run away
/// with memory, and the viewer must outlive that. Such an end is reported like
/// any unreadable model ("model could not be loaded: " and what happened), exit -1.
/// A file Assimp rejects ends the same way, with Assimp's error.
void ensureImportSurvives(const std::string& path);

}  // namespace Vexa::viewer
