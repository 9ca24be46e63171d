#include "render/TextureImage.h"

#include <IL/il.h>

#include "platform/Fatal.h"

namespace Vexa {

namespace {

void initialiseDevil() {
  static const bool initialised = (ilInit(), true);
  (void)initialised;
}

// Whether the loaded image carries alpha that the upload must keep.
bool hasAlpha() {
  switch (ilGetInteger(IL_IMAGE_FORMAT)) {
    case IL_RGBA:
    case IL_BGRA:
    case IL_LUMINANCE_ALPHA:
      return true;
    case IL_COLOUR_INDEX: {
      const ILint palette = ilGetInteger(IL_PALETTE_TYPE);
      return palette == IL_PAL_RGBA32 || palette == IL_PAL_BGRA32;
    }
    default:
      return false;
  }
}

/// One DevIL image, bound while it lives, so loads never share DevIL state.
class DevilImage {
 public:
  DevilImage() : name(ilGenImage()) { ilBindImage(name); }
  ~DevilImage() { ilDeleteImage(name); }
  DevilImage(const DevilImage&) = delete;
  DevilImage& operator=(const DevilImage&) = delete;

 private:
  ILuint name;
};

}  // namespace

TextureImage::TextureImage(const std::string& name) : texture(Texture::generate()) {
  const std::string path = folder + name;
  initialiseDevil();
  DevilImage image;
  if (ilLoadImage(path.c_str()) == IL_FALSE) fatalError("could not load image texture " + path);
  // BGR orderings, luminance, palettes and wide channels are no valid upload
  // formats as such; eight-bit RGB or RGBA is.
  uploadFormat = hasAlpha() ? GL_RGBA : GL_RGB;
  if (ilConvertImage(uploadFormat == GL_RGBA ? IL_RGBA : IL_RGB, IL_UNSIGNED_BYTE) == IL_FALSE) {
    fatalError("could not load image texture " + path);
  }
  pixelsWide = ilGetInteger(IL_IMAGE_WIDTH);
  pixelsHigh = ilGetInteger(IL_IMAGE_HEIGHT);
  if (!upload()) fatalError("could not load image texture " + path);
}

bool TextureImage::upload() {
  bind();
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(uploadFormat), pixelsWide, pixelsHigh, 0,
               uploadFormat, GL_UNSIGNED_BYTE, ilGetData());
  if (!uploadTook()) return false;
  glGenerateMipmap(GL_TEXTURE_2D);
  setFilters();
  return true;
}

// A refused upload (too large for the driver, out of memory) leaves level 0
// empty. Asking the texture rather than glGetError leaves errors raised
// elsewhere to the frame loop's report.
bool TextureImage::uploadTook() const {
  GLint width = 0;
  GLint height = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  return width == pixelsWide && height == pixelsHigh;
}

// Mesa's software rasterisers offer anisotropic filtering but pay for it per
// sample: a wall seen at a grazing angle then costs seconds a frame. Graphics
// hardware filters anisotropically almost for free.
bool TextureImage::softwareRasterizer() {
  const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  if (!renderer) return false;
  const std::string name(renderer);
  return name.find("llvmpipe") != std::string::npos || name.find("softpipe") != std::string::npos;
}

void TextureImage::setFilters() {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  if (glewIsSupported("GL_EXT_texture_filter_anisotropic") && !softwareRasterizer()) {
    GLfloat maximum = 1.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, maximum);
  }
}

void TextureImage::bind() const {
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, texture.id());
}

}  // namespace Vexa
