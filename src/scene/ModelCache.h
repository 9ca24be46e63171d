#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "animation/Animation.h"
#include "render/ModelData.h"
#include "render/TextureCache.h"

namespace Vexa::scene {

/// A model file as imported once for every object that shows it: its data, which
/// each object uploads, and the animation each object's own animation copies, so
/// that all of them share one set of the clip's keys.
struct ImportedModel {
  explicit ImportedModel(ModelData model);

  ModelData data;
  std::optional<Animation> animation;
};

/// The models of the objects alive, each file imported once (through the import
/// guard) while any object shows it or a `Hold` keeps it: the enemies of a kind,
/// the bats and the props share it. A file that changed since its import is
/// imported again.
class ModelCache {
 public:
  /// Told of every import: the path and the seconds it took.
  using ImportObserver = std::function<void(const std::string& path, double seconds)>;

  /// The model at `path`, imported now unless an object alive shows the same file.
  /// Never returns on failure (see ModelLoader::load).
  static std::shared_ptr<const ImportedModel> model(const std::string& path);

  /// Benchmarks and tests watch the imports through this; the game sets none.
  static void observeImports(ImportObserver observer);

  /// Keeps the models alive at its making alive for as long as it lives. A level
  /// switch holds the old level's while the next is built, so the files both
  /// levels show (the bat, the crosshair, the sky, the enemies) are not imported
  /// again, nor their textures decoded again.
  /// The textures the held models' materials show are kept alike.
  class Hold {
   public:
    Hold();

   private:
    std::vector<std::shared_ptr<const ImportedModel>> held;
    TextureCache::Hold textures;
  };
};

}  // namespace Vexa::scene
