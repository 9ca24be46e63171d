#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Vexa::test {

/// PNG colour types as the header stores them.
enum class PngColour : std::uint8_t { Grey = 0, Rgb = 2, Palette = 3, GreyAlpha = 4, Rgba = 6 };

/// A whole PNG file of eight-bit samples: `samples` holds the rows one after the
/// other without filter bytes; a palette image brings its RGB `palette`.
std::string pngFile(std::uint32_t width, std::uint32_t height, PngColour colour,
                    const std::vector<unsigned char>& samples,
                    const std::vector<unsigned char>& palette = {});

/// One chunk as a PNG stores it: length, type, data and the CRC over type and data.
std::string pngChunk(const std::string& type, const std::string& data);

}  // namespace Vexa::test
