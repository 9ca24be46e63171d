#pragma once

#include <array>
#include <string>
#include <vector>

namespace Vexa::test {

using Rgb = std::array<unsigned char, 3>;

/// A PNG file read back through DevIL as eight-bit RGB.
class PngPicture {
 public:
  /// A picture of 0 × 0 pixels when `path` cannot be read.
  explicit PngPicture(const std::string& path);

  int width() const { return columns; }
  int height() const { return rows; }
  /// The colour at column `x` and row `y`, counted from the top left corner.
  Rgb at(int x, int y) const;
  Rgb centre() const { return at(columns / 2, rows / 2); }

 private:
  int columns = 0;
  int rows = 0;
  std::vector<unsigned char> rgb;  // rows from the top
};

}  // namespace Vexa::test
