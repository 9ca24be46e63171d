#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace Vexa::viewer {

/// A grid of equally sized RGBA images, written as one PNG.
class ContactSheet {
 public:
  /// Ends the program with "the contact sheet is too large: " and its size in
  /// pixels when the sheet would not fit one image (4 GiB).
  ContactSheet(int columns, int rows, int cellWidth, int cellHeight);

  /// Copies `cell` (RGBA rows from the bottom up, cell-sized) into column `column`
  /// of row `row`; row 0 is the top row of the sheet.
  void place(int column, int row, const std::vector<unsigned char>& cell);

  /// Writes the sheet as a PNG; ends the program with "could not write image "
  /// and the path when that fails.
  void write(const std::string& path) const;

 private:
  std::size_t rows;
  std::size_t cellWidth;
  std::size_t cellHeight;
  std::size_t sheetWidth;
  std::size_t sheetHeight;
  std::vector<unsigned char> pixels;  // bottom-up rows, like OpenGL's
};

}  // namespace Vexa::viewer
