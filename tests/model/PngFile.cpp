#include "model/PngFile.h"

#include <zlib.h>

namespace Vexa::test {

namespace {

std::string bigEndian(std::uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
          static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::size_t channels(PngColour colour) {
  switch (colour) {
    case PngColour::Rgb:
      return 3;
    case PngColour::GreyAlpha:
      return 2;
    case PngColour::Rgba:
      return 4;
    default:
      return 1;
  }
}

}  // namespace

std::string pngChunk(const std::string& type, const std::string& data) {
  const std::string typed = type + data;
  const auto crc =
      crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()));
  return bigEndian(static_cast<std::uint32_t>(data.size())) + typed +
         bigEndian(static_cast<std::uint32_t>(crc));
}

std::string pngFile(std::uint32_t width, std::uint32_t height, PngColour colour,
                    const std::vector<unsigned char>& samples,
                    const std::vector<unsigned char>& palette) {
  const std::size_t rowBytes = width * channels(colour);
  std::string raw;
  for (std::size_t row = 0; row * rowBytes < samples.size(); ++row) {
    raw += '\0';  // filter type None
    raw.append(samples.begin() + static_cast<std::ptrdiff_t>(row * rowBytes),
               samples.begin() + static_cast<std::ptrdiff_t>((row + 1) * rowBytes));
  }
  std::string packed(compressBound(static_cast<uLong>(raw.size())), '\0');
  uLongf packedSize = static_cast<uLongf>(packed.size());
  compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
           reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()));
  packed.resize(packedSize);
  const std::string header =
      bigEndian(width) + bigEndian(height) + std::string{8, static_cast<char>(colour), 0, 0, 0};
  std::string file = "\x89PNG\r\n\x1a\n" + pngChunk("IHDR", header);
  if (!palette.empty()) file += pngChunk("PLTE", std::string(palette.begin(), palette.end()));
  return file + pngChunk("IDAT", packed) + pngChunk("IEND", "");
}

}  // namespace Vexa::test
