#include "render/TextureImage.h"

#include <IL/il.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/Fatal.h"
#include "platform/LoadTimes.h"
#include "render/SoftwareRasterizer.h"

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

// No texture of the game comes near this: 4096 × 4096 pixels of RGBA.
constexpr std::uint64_t decodedByteLimit = std::uint64_t{64} << 20;
// The compressed file is never larger than what it decodes to, give or take its chunks.
constexpr std::uint64_t fileByteLimit = decodedByteLimit + (std::uint64_t{1} << 20);

const std::string pngSignature = "\x89PNG\r\n\x1a\n";

std::optional<std::string> fileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return std::nullopt;
  const std::streamoff size = file.tellg();
  if (size <= 0 || static_cast<std::uint64_t>(size) > fileByteLimit) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  file.seekg(0);
  if (!file.read(bytes.data(), size)) return std::nullopt;
  return bytes;
}

std::uint32_t bigEndian(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

/// The size a PNG's header announces, read before any decoder sees the file, so
/// that nothing is allocated for an image the driver or the memory bound refuses.
/// The content decides, never the name: anything but a PNG has no size here.
std::optional<std::pair<int, int>> pngSize(const std::string& bytes) {
  // Signature, then the IHDR chunk: length 13, type, width, height, depth, colour type...
  if (bytes.size() < 33 || bytes.compare(0, pngSignature.size(), pngSignature) != 0)
    return std::nullopt;
  if (bigEndian(bytes, 8) != 13 || bytes.compare(12, 4, "IHDR") != 0) return std::nullopt;
  const std::uint64_t width = bigEndian(bytes, 16);
  const std::uint64_t height = bigEndian(bytes, 20);
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  const auto side = static_cast<std::uint64_t>(largest);
  if (width == 0 || height == 0 || width > side || height > side ||
      width * height * 4 > decodedByteLimit) {
    return std::nullopt;
  }
  return std::make_pair(static_cast<int>(width), static_cast<int>(height));
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
  const LoadTimes::Scope timed(LoadTimes::Cause::TextureDecoding);
  const std::string path = folder + name;
  const std::optional<std::string> bytes = fileBytes(path);
  const auto size = bytes ? pngSize(*bytes) : std::nullopt;
  if (!size) fatalError("could not load image texture " + path);
  initialiseDevil();
  DevilImage image;
  if (ilLoadL(IL_PNG, bytes->data(), static_cast<ILuint>(bytes->size())) == IL_FALSE ||
      ilGetInteger(IL_IMAGE_WIDTH) != size->first ||
      ilGetInteger(IL_IMAGE_HEIGHT) != size->second) {
    fatalError("could not load image texture " + path);
  }
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

// A wall seen at a grazing angle would cost a software rasterizer seconds a
// frame with anisotropic filtering.
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
