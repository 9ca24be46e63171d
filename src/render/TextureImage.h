#pragma once

#include <string>

#include "render/GlHandle.h"

namespace Vexa {

/// A mipmapped 2D texture read from the PNG file "Resources/Textures/" + name (the
/// name's directories are kept), decoded with DevIL. The file's content decides
/// that it is a PNG, never its name, and its header's width and height are checked
/// against GL_MAX_TEXTURE_SIZE and a memory bound before anything is allocated.
/// Images are converted to RGB, or RGBA when they carry alpha, before upload. A
/// file that is not such a PNG, cannot be decoded or is refused by the driver ends
/// the game with "could not load image texture " and the full path. Leaves the
/// texture bound on unit 0.
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

  Texture texture;
  int pixelsWide = 0;
  int pixelsHigh = 0;
  GLenum uploadFormat = GL_RGB;
};

}  // namespace Vexa
