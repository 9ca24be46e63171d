#include "support/PngPicture.h"

#include <IL/il.h>

#include <algorithm>
#include <cstddef>

namespace Vexa::test {

PngPicture::PngPicture(const std::string& path) {
  ilInit();
  const ILuint image = ilGenImage();
  ilBindImage(image);
  if (ilLoadImage(path.c_str()) == IL_TRUE && ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE) == IL_TRUE) {
    columns = ilGetInteger(IL_IMAGE_WIDTH);
    rows = ilGetInteger(IL_IMAGE_HEIGHT);
    const ILubyte* data = ilGetData();
    const bool bottomUp = ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT;
    const std::size_t rowBytes = static_cast<std::size_t>(columns) * 3;
    rgb.resize(rowBytes * static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
      const int source = bottomUp ? rows - 1 - row : row;
      std::copy_n(
          data + rowBytes * static_cast<std::size_t>(source), rowBytes,
          rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes * static_cast<std::size_t>(row)));
    }
  }
  ilDeleteImage(image);
}

Rgb PngPicture::at(int x, int y) const {
  const std::size_t first = (static_cast<std::size_t>(y) * columns + x) * 3;
  return {rgb[first], rgb[first + 1], rgb[first + 2]};
}

}  // namespace Vexa::test
