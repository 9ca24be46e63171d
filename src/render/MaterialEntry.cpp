#include "render/MaterialEntry.h"

#include "platform/Fatal.h"
#include "render/TextureCache.h"

namespace Vexa {

MaterialEntry::MaterialEntry(const glm::vec3& colour) : diffuse(colour) {}

MaterialEntry::MaterialEntry(const std::string& textureName)
    : image(TextureCache::texture(textureName)) {}

std::unique_ptr<MaterialEntry> MaterialEntry::create(const MaterialData& data) {
  if (data.texture) return std::make_unique<MaterialEntry>(*data.texture);
  if (data.colour) return std::make_unique<MaterialEntry>(*data.colour);
  return nullptr;
}

void MaterialEntry::bind() const {
  if (!image) fatalError("can only bind a texture");
  image->bind();
}

void MaterialEntry::applyTo(GLuint programId) const {
  glUniform1i(glGetUniformLocation(programId, "useTexture"), image ? 1 : 0);
  if (diffuse) {
    glUniform3f(glGetUniformLocation(programId, "material"), diffuse->r, diffuse->g, diffuse->b);
  } else {
    bind();
    glUniform1i(glGetUniformLocation(programId, "colorTexture"), 0);
  }
}

}  // namespace Vexa
