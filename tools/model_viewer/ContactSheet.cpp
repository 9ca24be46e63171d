#include "ContactSheet.h"

#include <IL/il.h>

#include <algorithm>

#include "platform/Fatal.h"

namespace Vexa::viewer {

ContactSheet::ContactSheet(int columns, int rows, int cellWidth, int cellHeight)
    : columns(columns),
      rows(rows),
      cellWidth(cellWidth),
      cellHeight(cellHeight),
      pixels(static_cast<std::size_t>(columns * cellWidth * rows * cellHeight * 4), 0) {}

void ContactSheet::place(int column, int row, const std::vector<unsigned char>& cell) {
  const int sheetWidth = columns * cellWidth;
  const int bottomRow = rows - 1 - row;
  for (int y = 0; y < cellHeight; ++y) {
    const auto source = cell.begin() + static_cast<std::ptrdiff_t>(y * cellWidth * 4);
    const int sheetY = bottomRow * cellHeight + y;
    std::copy(source, source + cellWidth * 4,
              pixels.begin() +
                  static_cast<std::ptrdiff_t>((sheetY * sheetWidth + column * cellWidth) * 4));
  }
}

void ContactSheet::write(const std::string& path) const {
  ilInit();
  const ILuint image = ilGenImage();
  ilBindImage(image);
  // The rows are bottom-up, which is DevIL's own lower-left origin.
  ilTexImage(static_cast<ILuint>(columns * cellWidth), static_cast<ILuint>(rows * cellHeight), 1, 4,
             IL_RGBA, IL_UNSIGNED_BYTE, const_cast<unsigned char*>(pixels.data()));
  ilEnable(IL_FILE_OVERWRITE);
  const bool saved = ilSave(IL_PNG, path.c_str()) == IL_TRUE;
  ilDeleteImage(image);
  if (!saved) fatalError("could not write image " + path);
}

}  // namespace Vexa::viewer
