#include "support/RunTimeFolderCopy.h"

#include <unistd.h>

#include <string>

namespace Vexa::test {

namespace fs = std::filesystem;

namespace {

void linkEntries(const fs::path& from, const fs::path& to) {
  fs::create_directories(to);
  for (const auto& entry : fs::directory_iterator(from))
    fs::create_symlink(entry.path(), to / entry.path().filename());
}

}  // namespace

RunTimeFolderCopy::RunTimeFolderCopy()
    : original(fs::current_path()),
      copy(fs::temp_directory_path() / ("vexa_level_" + std::to_string(getpid()))) {
  fs::remove_all(copy);
  linkEntries(original, copy);
  fs::current_path(copy);
}

RunTimeFolderCopy::~RunTimeFolderCopy() {
  fs::current_path(original);
  fs::remove_all(copy);
}

fs::path RunTimeFolderCopy::replace(const fs::path& file) const {
  fs::path folder = copy;
  for (const fs::path& part : file.parent_path()) {
    folder /= part;
    if (!fs::is_symlink(folder)) continue;
    const fs::path target = fs::read_symlink(folder);
    fs::remove(folder);
    linkEntries(target, folder);
  }
  fs::remove_all(copy / file);
  return copy / file;
}

}  // namespace Vexa::test
