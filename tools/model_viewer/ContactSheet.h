#pragma once

#include <string>
#include <vector>

namespace Vexa::viewer {

/// A grid of equally sized RGBA images, written as one PNG.
class ContactSheet {
 public:
  ContactSheet(int columns, int rows, int cellWidth, int cellHeight);

  /// Copies `cell` (RGBA rows from the bottom up, cell-sized) into column `column`
  /// of row `row`; row 0 is the top row of the sheet.
  void place(int column, int row, const std::vector<unsigned char>& cell);

  /// Writes the sheet as a PNG; ends the program with "could not write image "
  /// and the path when that fails.
  void write(const std::string& path) const;

 private:
  int columns;
  int rows;
  int cellWidth;
  int cellHeight;
  std::vector<unsigned char> pixels;  // bottom-up rows, like OpenGL's
};

}  // namespace Vexa::viewer
