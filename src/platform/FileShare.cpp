#include "platform/FileShare.h"

namespace Vexa {

std::optional<FileVersion> fileVersion(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path where = fs::weakly_canonical(path, error);
  if (error) return std::nullopt;
  const auto written = fs::last_write_time(where, error);
  if (error) return std::nullopt;
  const auto size = fs::file_size(where, error);
  if (error) return std::nullopt;
  return FileVersion{where.string(), written, size};
}

}  // namespace Vexa
