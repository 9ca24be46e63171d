#include "ContactSheet.h"

#include <IL/il.h>

#include <algorithm>
#include <limits>
#include <string>

#include "platform/Fatal.h"

namespace Vexa::viewer {

namespace {

constexpr std::size_t channels = 4;

// DevIL counts an image's bytes in 32 bits.
std::size_t imageBytes(std::size_t width, std::size_t height) {
  const std::size_t bytes = width * height * channels;
  if (bytes > std::numeric_limits<ILuint>::max()) {
    fatalError("the contact sheet is too large: " + std::to_string(width) + "x" +
               std::to_string(height) + " pixels");
  }
  return bytes;
}

}  // namespace

ContactSheet::ContactSheet(int columns, int rows, int cellWidth, int cellHeight)
    : rows(static_cast<std::size_t>(rows)),
      cellWidth(static_cast<std::size_t>(cellWidth)),
      cellHeight(static_cast<std::size_t>(cellHeight)),
      sheetWidth(static_cast<std::size_t>(columns) * this->cellWidth),
      sheetHeight(this->rows * this->cellHeight),
      pixels(imageBytes(sheetWidth, sheetHeight), 0) {}

void ContactSheet::place(int column, int row, const std::vector<unsigned char>& cell) {
  const std::size_t rowBytes = cellWidth * channels;
  const std::size_t left = static_cast<std::size_t>(column) * cellWidth;
  const std::size_t bottom = (rows - 1 - static_cast<std::size_t>(row)) * cellHeight;
  for (std::size_t y = 0; y < cellHeight; ++y) {
    const auto source = cell.begin() + static_cast<std::ptrdiff_t>(y * rowBytes);
    const std::size_t target = ((bottom + y) * sheetWidth + left) * channels;
    std::copy(source, source + static_cast<std::ptrdiff_t>(rowBytes),
              pixels.begin() + static_cast<std::ptrdiff_t>(target));
  }
}

void ContactSheet::write(const std::string& path) const {
  ilInit();
  const ILuint image = ilGenImage();
  ilBindImage(image);
  // The rows are bottom-up, which is DevIL's own lower-left origin.
  ilTexImage(static_cast<ILuint>(sheetWidth), static_cast<ILuint>(sheetHeight), 1, channels,
             IL_RGBA, IL_UNSIGNED_BYTE, const_cast<unsigned char*>(pixels.data()));
  ilEnable(IL_FILE_OVERWRITE);
  const bool saved = ilSave(IL_PNG, path.c_str()) == IL_TRUE;
  ilDeleteImage(image);
  if (!saved) fatalError("could not write image " + path);
}

}  // namespace Vexa::viewer
