#pragma once

#include <string>

#include "render/GlHandle.h"

namespace Vexa {

/// A mipmapped 2D texture read with DevIL from "Resources/Textures/" + name (the
/// name's directories are kept). Images are converted to RGB, or RGBA when they
/// carry alpha, before upload. An unreadable file, or one the driver refuses (wider
/// or taller than GL_MAX_TEXTURE_SIZE), ends the game with
/// "could not load image texture " and the full path. Leaves the texture bound on unit 0.
class TextureImage {
 public:
  explicit TextureImage(const std::string& name);

  /// Makes unit 0 active and binds the texture there.
  void bind() const;

  GLuint id() const { return texture.id(); }
  int width() const { return pixelsWide; }
  int height() const { return pixelsHigh; }
  /// GL_RGB or GL_RGBA: what the texture was uploaded as.
  GLenum format() const { return uploadFormat; }

  static constexpr const char* folder = "Resources/Textures/";

 private:
  /// False when the driver refused the image.
  bool upload();
  bool uploadTook() const;
  static void setFilters();
  static bool softwareRasterizer();

  Texture texture;
  int pixelsWide = 0;
  int pixelsHigh = 0;
  GLenum uploadFormat = GL_RGB;
};

}  // namespace Vexa
