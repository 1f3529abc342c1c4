#include "png_writer.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace quorvane {

namespace {

constexpr std::string_view kSignature = "\x89PNG\r\n\x1A\n";

constexpr uint8_t kColourTypePalette = 3;
constexpr uint8_t kColourTypeRgba = 6;

void appendBigEndian32(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift);
}

void appendChunk(std::string& png, std::string_view type, std::string_view data) {
  appendBigEndian32(png, static_cast<uint32_t>(data.size()));
  const size_t typeStart = png.size();
  png += type;
  png += data;
  // The CRC covers the chunk type and its data, not the length.
  const auto* covered = reinterpret_cast<const Bytef*>(png.data() + typeStart);
  appendBigEndian32(png, static_cast<uint32_t>(crc32(0, covered, png.size() - typeStart)));
}

std::string deflate(const std::string& raw) {
  uLongf size = compressBound(raw.size());
  std::string compressed(size, '\0');
  const int status =
      compress2(reinterpret_cast<Bytef*>(compressed.data()), &size,
                reinterpret_cast<const Bytef*>(raw.data()), raw.size(), Z_BEST_COMPRESSION);
  if (status != Z_OK) throw std::runtime_error("zlib could not compress the image data");
  compressed.resize(size);
  return compressed;
}

void checkSize(int width, int height, size_t pixelCount) {
  if (width <= 0 || height <= 0 || pixelCount != size_t(width) * size_t(height)) {
    throw std::invalid_argument("pixel count does not match the image size");
  }
}

// `rows` is the filtered image data: every row starts with its filter type byte. Each row here
// uses filter 0 (none), which flat-coloured pictures compress well with.
std::string assemble(int width, int height, uint8_t bitDepth, uint8_t colourType,
                     const std::string& rows, const std::vector<std::string>& chunksBeforeData) {
  std::string header;
  appendBigEndian32(header, static_cast<uint32_t>(width));
  appendBigEndian32(header, static_cast<uint32_t>(height));
  header += static_cast<char>(bitDepth);
  header += static_cast<char>(colourType);
  header += std::string(3, '\0');  // deflate compression, adaptive filtering, no interlace

  std::string png(kSignature);
  appendChunk(png, "IHDR", header);
  for (const std::string& chunk : chunksBeforeData) png += chunk;
  appendChunk(png, "IDAT", deflate(rows));
  appendChunk(png, "IEND", {});
  return png;
}

}  // namespace

std::string encodePng(int width, int height, const std::vector<uint32_t>& rgbaPixels) {
  checkSize(width, height, rgbaPixels.size());
  std::string rows;
  rows.reserve(size_t(height) * (1 + size_t(width) * 4));
  for (int y = 0; y < height; ++y) {
    rows += '\0';
    for (int x = 0; x < width; ++x) appendBigEndian32(rows, rgbaPixels[size_t(y) * width + x]);
  }
  return assemble(width, height, 8, kColourTypeRgba, rows, {});
}

std::string encodePalettePng(int width, int height, int bitDepth,
                             const std::vector<uint32_t>& paletteRgba,
                             const std::vector<uint8_t>& indices) {
  checkSize(width, height, indices.size());
  if (bitDepth != 1 && bitDepth != 2 && bitDepth != 4 && bitDepth != 8) {
    throw std::invalid_argument("palette bit depth must be 1, 2, 4 or 8");
  }
  if (paletteRgba.empty() || paletteRgba.size() > (size_t{1} << bitDepth)) {
    throw std::invalid_argument("palette size does not fit the bit depth");
  }
  if (std::ranges::any_of(indices, [&](uint8_t i) { return i >= paletteRgba.size(); })) {
    throw std::invalid_argument("pixel index outside the palette");
  }

  std::string palette;
  std::string transparency;
  for (uint32_t colour : paletteRgba) {
    palette += static_cast<char>(redOf(colour));
    palette += static_cast<char>(greenOf(colour));
    palette += static_cast<char>(blueOf(colour));
    transparency += static_cast<char>(alphaOf(colour));
  }
  // Entries missing from the end of tRNS count as opaque.
  while (!transparency.empty() && static_cast<uint8_t>(transparency.back()) == 0xFF) {
    transparency.pop_back();
  }
  std::vector<std::string> chunks(1);
  appendChunk(chunks.back(), "PLTE", palette);
  if (!transparency.empty()) appendChunk(chunks.emplace_back(), "tRNS", transparency);

  // Pixels are packed from the most significant bit; each row ends on a byte boundary.
  const int pixelsPerByte = 8 / bitDepth;
  std::string rows;
  for (int y = 0; y < height; ++y) {
    rows += '\0';
    for (int x = 0; x < width; x += pixelsPerByte) {
      uint8_t packed = 0;
      for (int k = 0; k < pixelsPerByte; ++k) {
        const uint8_t index = x + k < width ? indices[size_t(y) * width + x + k] : 0;
        packed |= index << (8 - bitDepth * (k + 1));
      }
      rows += static_cast<char>(packed);
    }
  }
  return assemble(width, height, static_cast<uint8_t>(bitDepth), kColourTypePalette, rows, chunks);
}

}  // namespace quorvane
