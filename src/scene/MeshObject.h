#pragma once

#include <memory>
#include <string>

#include "render/ModelData.h"

namespace Vexa {
class CasterBounds;
}
#include "scene/SceneObject.h"

namespace Vexa::scene {

struct ImportedModel;

/// The concrete node: meshes drawn with a world matrix that every update recomputes.
/// Game classes derive from it and load their model in their constructor.
class MeshObject : public SceneObject {
 public:
  MeshObject(ShaderProgram* program, ShaderProgram* shadowProgram);

  void update(double elapsedSeconds, const glm::mat4& parentWorld, const CameraMatrices& camera,
              bool culling) override;
  void updateWithoutCamera(double elapsedSeconds, const glm::mat4& parentWorld) override;
  void draw() override;
  void drawShadow() override;
  /// Adds to `bounds` the boxes of what `drawShadow` draws, posed as it draws
  /// them: by this node's animation or else by `pose`, the one of the model above
  /// (null for a root).
  virtual void boundShadow(CasterBounds& bounds, const Animation* pose) const;

  /// Reads a COLLADA file into this node (the root) and children built below it,
  /// sharing the import and the clip's keys with every other object alive that
  /// shows the same file (see ModelCache).
  /// Never returns on failure: the game ends with "model could not be loaded: ".
  void loadModel(const std::string& path);
  /// Builds this node (the root) and children below it from imported data: meshes
  /// and materials uploaded, and an animation for a model with a clip or a skin (a
  /// skin without a clip holds its bind pose).
  void buildModel(const ModelData& model);

  /// The import this root shows; null for a node not loaded from a file.
  const ImportedModel* importedModel() const { return imported.get(); }

  /// The first node named exactly `name` in pre-order, starting with this one; null if none.
  MeshObject* findNode(const std::string& name);

  /// The node's transform in world space, as of the last update.
  glm::mat4 worldMatrix{1.0f};
  /// Drawn blended over what lies behind it: its shader writes alpha below 1.
  bool translucent = false;

 protected:
  /// The part of an update every node shares: world matrix, then the animation.
  void updateOwnPose(const glm::mat4& parentWorld);

 private:
  void buildNodes(const ModelData& model);
  void attachAnimation(std::unique_ptr<Animation> animation);

  std::shared_ptr<const ImportedModel> imported;
};

}  // namespace Vexa::scene
