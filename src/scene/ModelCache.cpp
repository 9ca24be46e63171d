#include "scene/ModelCache.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <tuple>

#include "render/ModelLoader.h"

namespace Vexa::scene {

namespace {

namespace fs = std::filesystem;

/// One version of one file: where it is, when it was written and how long it is.
using FileVersion = std::tuple<std::string, fs::file_time_type, std::uintmax_t>;

std::optional<FileVersion> versionOf(const std::string& path) {
  std::error_code error;
  const fs::path where = fs::weakly_canonical(path, error);
  if (error) return std::nullopt;
  const auto written = fs::last_write_time(where, error);
  if (error) return std::nullopt;
  const auto size = fs::file_size(where, error);
  if (error) return std::nullopt;
  return FileVersion{where.string(), written, size};
}

std::map<FileVersion, std::weak_ptr<const ImportedModel>>& models() {
  static std::map<FileVersion, std::weak_ptr<const ImportedModel>> alive;
  return alive;
}

ModelCache::ImportObserver& observer() {
  static ModelCache::ImportObserver told;
  return told;
}

std::shared_ptr<const ImportedModel> import(const std::string& path) {
  const auto start = std::chrono::steady_clock::now();
  auto model = std::make_shared<const ImportedModel>(ModelLoader::load(path));
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  if (observer()) observer()(path, took.count());
  return model;
}

}  // namespace

ImportedModel::ImportedModel(ModelData model) : data(std::move(model)) {
  if (data.animated()) animation.emplace(data);
}

std::shared_ptr<const ImportedModel> ModelCache::model(const std::string& path) {
  // A file that cannot be looked at is left to the import, which reports it.
  const std::optional<FileVersion> version = versionOf(path);
  if (!version) return import(path);
  auto& alive = models();
  for (auto entry = alive.begin(); entry != alive.end();)
    entry = entry->second.expired() ? alive.erase(entry) : std::next(entry);
  if (auto shown = alive[*version].lock()) return shown;
  auto imported = import(path);
  alive[*version] = imported;
  return imported;
}

void ModelCache::observeImports(ImportObserver told) {
  observer() = std::move(told);
}

}  // namespace Vexa::scene
