#include "render/TextureCache.h"

#include "platform/FileShare.h"

namespace Vexa {

namespace {

FileShare<TextureImage>& textures() {
  static FileShare<TextureImage> shared;
  return shared;
}

}  // namespace

// The share is keyed by the file's path; the image is still made from its name.
std::shared_ptr<const TextureImage> TextureCache::texture(const std::string& name) {
  return textures().get(TextureImage::folder + name, [&name](const std::string&) {
    return std::make_shared<const TextureImage>(name);
  });
}

TextureCache::Hold::Hold() : held(textures().held()) {}

}  // namespace Vexa
