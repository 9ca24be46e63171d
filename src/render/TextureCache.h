#pragma once

#include <memory>
#include <string>
#include <vector>

#include "render/TextureImage.h"

namespace Vexa {

/// The textures of the materials alive, each file decoded and uploaded once while
/// any material shows it or a `Hold` keeps it: the enemies of a kind share theirs.
class TextureCache {
 public:
  /// The texture file `name` (see TextureImage), loaded now unless a material
  /// alive shows the same file. Never returns on failure.
  static std::shared_ptr<const TextureImage> texture(const std::string& name);

  /// Keeps the textures alive at its making alive for as long as it lives.
  class Hold {
   public:
    Hold();

   private:
    std::vector<std::shared_ptr<const TextureImage>> held;
  };
};

}  // namespace Vexa
