#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace Vexa {

/// One version of one file: where it is, when it was written and how long it is.
using FileVersion = std::tuple<std::string, std::filesystem::file_time_type, std::uintmax_t>;

/// The version of the file at `path` now; none when it cannot be looked at.
std::optional<FileVersion> fileVersion(const std::string& path);

/// What was made from each file (an imported model, an uploaded texture), made
/// once and shared while anybody holds it. A file that changed since is made
/// again; one that cannot be looked at is made each time, and its maker reports it.
template <class Made>
class FileShare {
 public:
  template <class Make>
  std::shared_ptr<const Made> get(const std::string& path, const Make& make) {
    const std::optional<FileVersion> version = fileVersion(path);
    if (!version) return make(path);
    for (auto entry = made.begin(); entry != made.end();)
      entry = entry->second.expired() ? made.erase(entry) : std::next(entry);
    if (auto shared = made[*version].lock()) return shared;
    std::shared_ptr<const Made> fresh = make(path);
    made[*version] = fresh;
    return fresh;
  }

  /// Everything made that somebody still holds.
  std::vector<std::shared_ptr<const Made>> held() const {
    std::vector<std::shared_ptr<const Made>> alive;
    for (const auto& [version, entry] : made)
      if (auto shared = entry.lock()) alive.push_back(std::move(shared));
    return alive;
  }

 private:
  std::map<FileVersion, std::weak_ptr<const Made>> made;
};

}  // namespace Vexa
