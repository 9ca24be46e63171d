#include "scene/ModelCache.h"

#include <chrono>

#include "platform/FileShare.h"
#include "render/ModelLoader.h"

namespace Vexa::scene {

namespace {

FileShare<ImportedModel>& models() {
  static FileShare<ImportedModel> shared;
  return shared;
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
  return models().get(path, import);
}

ModelCache::Hold::Hold() : held(models().held()) {}

void ModelCache::observeImports(ImportObserver told) {
  observer() = std::move(told);
}

}  // namespace Vexa::scene
