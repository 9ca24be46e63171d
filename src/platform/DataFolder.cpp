#include "platform/DataFolder.h"

#include <system_error>

namespace Vexa {

namespace {

// The installed layout, set by the build: the data folder as seen from the programs'
// folder, and its absolute path under the configured prefix.
constexpr const char* dataFromPrograms = VEXA_DATA_FROM_PROGRAMS;
constexpr const char* installedData = VEXA_INSTALLED_DATA;

// Linux names the running program's file here; elsewhere the link is missing and the
// game looks only in the working directory and the installed folder.
DataFolder::Path runningExecutable() {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error);
}

}  // namespace

std::vector<DataFolder::Path> DataFolder::candidates(const Path& workingDirectory,
                                                     const Path& executable) {
  std::vector<Path> folders{workingDirectory};
  if (!executable.empty()) {
    const Path programs = executable.parent_path();
    folders.push_back(programs);
    folders.push_back((programs / dataFromPrograms).lexically_normal());
  }
  folders.emplace_back(installedData);
  return folders;
}

std::optional<DataFolder::Path> DataFolder::find(const std::vector<Path>& candidates) {
  for (const Path& folder : candidates) {
    std::error_code error;
    if (std::filesystem::is_directory(folder / "Shader", error)) return folder;
  }
  return std::nullopt;
}

void DataFolder::enter() {
  std::error_code error;
  const Path workingDirectory = std::filesystem::current_path(error);
  if (const auto folder = find(candidates(workingDirectory, runningExecutable())))
    std::filesystem::current_path(*folder, error);
}

}  // namespace Vexa
