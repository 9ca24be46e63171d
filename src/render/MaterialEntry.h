#pragma once

#include <glm/vec3.hpp>
#include <memory>
#include <optional>
#include <string>

#include "render/ModelData.h"
#include "render/TextureImage.h"

namespace Vexa {

/// One material of a model: a diffuse colour or a diffuse texture, never both.
class MaterialEntry {
 public:
  explicit MaterialEntry(const glm::vec3& colour);
  /// Shows the texture named as the model file stores it (see TextureImage),
  /// shared with every material alive that shows the same file.
  explicit MaterialEntry(const std::string& textureName);
  /// The entry an imported material describes; null for one with neither colour nor texture.
  static std::unique_ptr<MaterialEntry> create(const MaterialData& data);

  /// The diffuse colour; null for a texture entry.
  const glm::vec3* colour() const { return diffuse ? &*diffuse : nullptr; }
  /// The texture; null for a colour entry.
  const TextureImage* texture() const { return image.get(); }

  /// Binds the texture on unit 0; a colour entry ends the game with "can only bind a texture".
  void bind() const;

  /// Sets up `programId` (already current) to draw with this material: "material"
  /// for a colour, or the texture on unit 0 with "colorTexture" = 0; "useTexture"
  /// tells the shader which of the two to read.
  void applyTo(GLuint programId) const;

 private:
  std::optional<glm::vec3> diffuse;
  std::shared_ptr<const TextureImage> image;
};

}  // namespace Vexa
