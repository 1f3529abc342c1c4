// The committed program icon, read back entry by entry through an independent PNG decoder.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "png_writer.h"

namespace quorvane {
namespace {

constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1A\n";

uint32_t littleEndian(std::string_view bytes, size_t at, int byteCount) {
  if (at + byteCount > bytes.size()) throw std::runtime_error("read past the end of the data");
  uint32_t value = 0;
  for (int k = byteCount - 1; k >= 0; --k) value = value << 8 | static_cast<uint8_t>(bytes[at + k]);
  return value;
}

uint32_t bigEndian32(std::string_view bytes, size_t at) {
  if (at + 4 > bytes.size()) throw std::runtime_error("read past the end of the data");
  uint32_t value = 0;
  for (int k = 0; k < 4; ++k) value = value << 8 | static_cast<uint8_t>(bytes[at + k]);
  return value;
}

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgbaPixels;  // rows top to bottom
};

// ---- PNG reading: enough of the format to check what the tools write -------------------------

struct Png {
  int bitDepth = 0;
  int colourType = 0;
  size_t paletteSize = 0;
  Picture picture;
};

uint8_t paeth(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up),
            toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<uint8_t>(left);
  return static_cast<uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// Non-interlaced 8-bit RGBA and 1- to 8-bit palette images; throws on anything else and on any
// chunk whose CRC does not match.
Png decodePng(std::string_view bytes) {
  if (!bytes.starts_with(kPngSignature)) throw std::runtime_error("no PNG signature");
  Png png;
  std::vector<uint32_t> palette;
  std::string compressed;
  bool ended = false;
  for (size_t at = kPngSignature.size(); !ended;) {
    const uint32_t length = bigEndian32(bytes, at);
    if (at + 12 + length > bytes.size()) throw std::runtime_error("chunk runs past the end");
    const std::string_view type = bytes.substr(at + 4, 4);
    const std::string_view data = bytes.substr(at + 8, length);
    const auto* covered = reinterpret_cast<const Bytef*>(bytes.data() + at + 4);
    if (crc32(0, covered, 4 + length) != bigEndian32(bytes, at + 8 + length)) {
      throw std::runtime_error("bad CRC in " + std::string(type));
    }
    if (at == kPngSignature.size() && type != "IHDR") throw std::runtime_error("IHDR not first");
    if (type == "IHDR") {
      png.picture.width = static_cast<int>(bigEndian32(data, 0));
      png.picture.height = static_cast<int>(bigEndian32(data, 4));
      png.bitDepth = static_cast<uint8_t>(data.at(8));
      png.colourType = static_cast<uint8_t>(data.at(9));
      if (data.substr(10) != std::string_view("\0\0\0", 3)) {
        throw std::runtime_error("unknown compression, filter method or interlacing");
      }
    } else if (type == "PLTE") {
      for (size_t i = 0; i + 2 < data.size(); i += 3) {
        palette.push_back(packRgba(data[i], data[i + 1], data[i + 2], 0xFF));
      }
      png.paletteSize = palette.size();
    } else if (type == "tRNS") {
      for (size_t i = 0; i < data.size() && i < palette.size(); ++i) {
        palette[i] = (palette[i] & ~0xFFu) | static_cast<uint8_t>(data[i]);
      }
    } else if (type == "IDAT") {
      compressed += data;
    }
    ended = type == "IEND";
    at += 12 + length;
    if (ended && at != bytes.size()) throw std::runtime_error("data after IEND");
  }

  const bool rgba = png.colourType == 6 && png.bitDepth == 8;
  const bool indexed = png.colourType == 3 && png.bitDepth <= 8 && !palette.empty();
  if (!rgba && !indexed) throw std::runtime_error("colour type or bit depth not handled");
  const int bitsPerPixel = rgba ? 32 : png.bitDepth;
  const size_t bytesPerPixel = std::max(1, bitsPerPixel / 8);
  const size_t rowBytes = (size_t(png.picture.width) * bitsPerPixel + 7) / 8;
  std::string raw((rowBytes + 1) * png.picture.height, '\0');
  uLongf rawSize = raw.size();
  if (uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                 reinterpret_cast<const Bytef*>(compressed.data()), compressed.size()) != Z_OK ||
      rawSize != raw.size()) {
    throw std::runtime_error("image data does not inflate to the expected size");
  }

  std::vector<uint8_t> previous(rowBytes, 0), row(rowBytes);
  for (int y = 0; y < png.picture.height; ++y) {
    const size_t rowAt = y * (rowBytes + 1);
    const auto filter = static_cast<uint8_t>(raw[rowAt]);
    for (size_t i = 0; i < rowBytes; ++i) {
      const uint8_t value = static_cast<uint8_t>(raw[rowAt + 1 + i]);
      const int left = i >= bytesPerPixel ? row[i - bytesPerPixel] : 0;
      const int upLeft = i >= bytesPerPixel ? previous[i - bytesPerPixel] : 0;
      const int up = previous[i];
      switch (filter) {
        case 0: row[i] = value; break;
        case 1: row[i] = static_cast<uint8_t>(value + left); break;
        case 2: row[i] = static_cast<uint8_t>(value + up); break;
        case 3: row[i] = static_cast<uint8_t>(value + (left + up) / 2); break;
        case 4: row[i] = static_cast<uint8_t>(value + paeth(left, up, upLeft)); break;
        default: throw std::runtime_error("unknown filter type");
      }
    }
    for (int x = 0; x < png.picture.width; ++x) {
      if (rgba) {
        png.picture.rgbaPixels.push_back(
            packRgba(row[x * 4], row[x * 4 + 1], row[x * 4 + 2], row[x * 4 + 3]));
      } else {
        const int bit = x * png.bitDepth;
        const size_t index =
            (row[bit / 8] >> (8 - png.bitDepth - bit % 8)) & ((1 << png.bitDepth) - 1);
        if (index >= palette.size()) throw std::runtime_error("pixel index outside the palette");
        png.picture.rgbaPixels.push_back(palette[index]);
      }
    }
    previous = row;
  }
  return png;
}

// ---- Icon reading ----------------------------------------------------------------------------

std::string readFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct DirectoryEntry {
  int width, height, colourCount, reserved, planes, bitCount;
  uint32_t bytesInResource, offset;
};

std::vector<DirectoryEntry> readDirectory(std::string_view file) {
  if (littleEndian(file, 0, 2) != 0 || littleEndian(file, 2, 2) != 1) {
    throw std::runtime_error("not an icon file header");
  }
  std::vector<DirectoryEntry> entries(littleEndian(file, 4, 2));
  for (size_t i = 0; i < entries.size(); ++i) {
    const size_t at = 6 + 16 * i;
    DirectoryEntry& entry = entries[i];
    entry.width = static_cast<int>(littleEndian(file, at, 1));
    entry.height = static_cast<int>(littleEndian(file, at + 1, 1));
    entry.colourCount = static_cast<int>(littleEndian(file, at + 2, 1));
    entry.reserved = static_cast<int>(littleEndian(file, at + 3, 1));
    entry.planes = static_cast<int>(littleEndian(file, at + 4, 2));
    entry.bitCount = static_cast<int>(littleEndian(file, at + 6, 2));
    entry.bytesInResource = littleEndian(file, at + 8, 4);
    entry.offset = littleEndian(file, at + 12, 4);
  }
  return entries;
}

std::string_view imageBytes(std::string_view file, const DirectoryEntry& entry) {
  return file.substr(entry.offset, entry.bytesInResource);
}

size_t rowBytes(int pixels, int bitCount) { return (size_t(pixels) * bitCount + 31) / 32 * 4; }

// A DIB icon image as Windows draws it: header, palette, colour rows, AND-mask rows. Throws when
// the header disagrees with the directory or the data, when a masked pixel is not black in the
// colour rows (it would tint the background), or when a 32-bit image's mask and alpha disagree.
Picture decodeIconDib(std::string_view dib, int size, int bitCount) {
  const auto field = [&](size_t at, int byteCount) { return littleEndian(dib, at, byteCount); };
  const uint32_t paletteEntries = bitCount <= 8 ? 1u << bitCount : 0;
  const size_t colourRowBytes = rowBytes(size, bitCount), maskRowBytes = rowBytes(size, 1);
  const size_t paletteAt = 40, colourAt = paletteAt + 4 * paletteEntries;
  const size_t maskAt = colourAt + colourRowBytes * size;
  if (field(0, 4) != 40 || field(4, 4) != uint32_t(size) || field(8, 4) != uint32_t(2 * size) ||
      field(12, 2) != 1 || field(14, 2) != uint32_t(bitCount) || field(16, 4) != 0) {
    throw std::runtime_error("BITMAPINFOHEADER does not describe this entry");
  }
  const uint32_t imageSize = field(20, 4), coloursUsed = field(32, 4);
  if ((imageSize != 0 && imageSize != dib.size() - colourAt) ||
      (coloursUsed != 0 && coloursUsed != paletteEntries) ||
      dib.size() != maskAt + maskRowBytes * size) {
    throw std::runtime_error("DIB sizes do not add up");
  }

  Picture picture{size, size, {}};
  for (int y = 0; y < size; ++y) {
    const size_t row = size_t(size - 1 - y);  // bottom-up
    for (int x = 0; x < size; ++x) {
      const auto maskByte = static_cast<uint8_t>(dib[maskAt + row * maskRowBytes + x / 8]);
      const bool masked = (maskByte >> (7 - x % 8)) & 1;
      const size_t colourRowAt = colourAt + row * colourRowBytes;
      uint32_t bgra;
      if (bitCount == 32) {
        bgra = field(colourRowAt + x * 4, 4);
      } else {
        const int bit = x * bitCount;
        const uint32_t index =
            (static_cast<uint8_t>(dib[colourRowAt + bit / 8]) >> (8 - bitCount - bit % 8)) &
            (paletteEntries - 1);
        bgra = field(paletteAt + 4 * index, 3) | 0xFF000000;
      }
      const auto alpha = static_cast<uint8_t>(bgra >> 24);
      if (masked && (bgra & 0xFFFFFF) != 0) throw std::runtime_error("masked pixel is not black");
      if (bitCount == 32 && masked != (alpha == 0)) {
        throw std::runtime_error("AND mask and alpha disagree");
      }
      picture.rgbaPixels.push_back(masked ? 0 : packRgba(bgra >> 16, bgra >> 8, bgra, alpha));
    }
  }
  return picture;
}

// Mean difference per channel, with colours weighted by their alpha so that the colour of an
// invisible pixel does not count.
double meanDifference(const Picture& a, const Picture& b) {
  double sum = 0;
  for (size_t i = 0; i < a.rgbaPixels.size(); ++i) {
    const uint32_t p = a.rgbaPixels[i], q = b.rgbaPixels[i];
    const auto weighted = [](uint8_t channel, uint8_t alpha) { return channel * alpha / 255.0; };
    sum += std::abs(weighted(redOf(p), alphaOf(p)) - weighted(redOf(q), alphaOf(q))) +
           std::abs(weighted(greenOf(p), alphaOf(p)) - weighted(greenOf(q), alphaOf(q))) +
           std::abs(weighted(blueOf(p), alphaOf(p)) - weighted(blueOf(q), alphaOf(q))) +
           std::abs(alphaOf(p) - alphaOf(q));
  }
  return sum / (4.0 * a.rgbaPixels.size());
}

struct ExpectedImage {
  int size;
  int bitCount;
};

constexpr ExpectedImage kExpectedImages[] = {
    {16, 4},  {32, 4},  {48, 4},                                             //
    {16, 8},  {32, 8},  {48, 8},   {72, 8},  {96, 8},  {128, 8},             //
    {16, 32}, {32, 32}, {48, 32},  {64, 32}, {72, 32}, {96, 32}, {128, 32},  //
    {256, 4}, {256, 8}, {256, 32},
};

class IconFile : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = readFile(QUORVANE_ICON_FILE);
    ASSERT_FALSE(file_.empty()) << "cannot read " << QUORVANE_ICON_FILE;
    entries_ = readDirectory(file_);
    ASSERT_EQ(entries_.size(), std::size(kExpectedImages));
  }

  std::string file_;
  std::vector<DirectoryEntry> entries_;
};

TEST_F(IconFile, DirectoryListsEveryImageInOrderWithinTheFile) {
  const size_t directoryEnd = 6 + 16 * entries_.size();
  std::vector<std::pair<uint32_t, uint32_t>> spans;
  for (size_t i = 0; i < entries_.size(); ++i) {
    SCOPED_TRACE("entry " + std::to_string(i));
    const auto [size, bitCount] = kExpectedImages[i];
    const DirectoryEntry& entry = entries_[i];
    EXPECT_EQ(entry.width, size % 256);
    EXPECT_EQ(entry.height, size % 256);
    EXPECT_EQ(entry.colourCount, bitCount == 4 ? 16 : 0);
    EXPECT_EQ(entry.reserved, 0);
    EXPECT_EQ(entry.planes, 1);
    EXPECT_EQ(entry.bitCount, bitCount);
    EXPECT_GE(entry.offset, directoryEnd);
    EXPECT_LE(uint64_t{entry.offset} + entry.bytesInResource, file_.size());
    EXPECT_EQ(imageBytes(file_, entry).starts_with(kPngSignature), size == 256);
    spans.emplace_back(entry.offset, entry.offset + entry.bytesInResource);
  }
  std::ranges::sort(spans);
  for (size_t i = 1; i < spans.size(); ++i) EXPECT_LE(spans[i - 1].second, spans[i].first);
}

TEST_F(IconFile, LargestImagesArePngsWhoseColourDepthMatchesTheirEntry) {
  struct Case {
    int bitCount, colourType, bitDepth;
    size_t maxPaletteSize;
  } const cases[] = {{4, 3, 4, 16}, {8, 3, 8, 256}, {32, 6, 8, 0}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& expected = cases[i];
    const DirectoryEntry& entry = entries_[entries_.size() - std::size(cases) + i];
    SCOPED_TRACE("256 pixels at " + std::to_string(entry.bitCount) + " bits");
    ASSERT_EQ(entry.bitCount, expected.bitCount);
    const Png png = decodePng(imageBytes(file_, entry));
    EXPECT_EQ(png.picture.width, 256);
    EXPECT_EQ(png.picture.height, 256);
    EXPECT_EQ(png.colourType, expected.colourType);
    EXPECT_EQ(png.bitDepth, expected.bitDepth);
    EXPECT_LE(png.paletteSize, expected.maxPaletteSize);
  }
}

// Picks the pixels of `picture` nearest to the pixel centres of a `size` x `size` image.
Picture sampled(const Picture& picture, int size) {
  Picture result{size, size, {}};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const size_t fromX = (2 * x + 1) * size_t(picture.width) / (2 * size);
      const size_t fromY = (2 * y + 1) * size_t(picture.height) / (2 * size);
      result.rgbaPixels.push_back(picture.rgbaPixels[fromY * picture.width + fromX]);
    }
  }
  return result;
}

// Every image is the same picture: each one is compared with the 32-bit image of its size, which
// in turn is compared with the largest image, and has transparent corners and an opaque middle.
TEST_F(IconFile, EveryImageShowsTheSamePicture) {
  std::vector<Picture> pictures;
  for (const DirectoryEntry& entry : entries_) {
    const int size = entry.width == 0 ? 256 : entry.width;
    pictures.push_back(size == 256 ? decodePng(imageBytes(file_, entry)).picture
                                   : decodeIconDib(imageBytes(file_, entry), size, entry.bitCount));
  }
  const auto pictureOf = [&](int size, int bitCount) -> const Picture& {
    const auto image = std::ranges::find_if(kExpectedImages, [&](const ExpectedImage& other) {
      return other.size == size && other.bitCount == bitCount;
    });
    return pictures[image - std::begin(kExpectedImages)];
  };
  for (size_t i = 0; i < entries_.size(); ++i) {
    const auto [size, bitCount] = kExpectedImages[i];
    SCOPED_TRACE(std::to_string(size) + " pixels at " + std::to_string(bitCount) + " bits");
    const Picture& picture = pictures[i];
    const auto pixel = [&](int x, int y) {
      return picture.rgbaPixels[size_t(y) * picture.width + x];
    };
    EXPECT_EQ(alphaOf(pixel(0, 0)), 0);
    EXPECT_EQ(alphaOf(pixel(size - 1, size - 1)), 0);
    EXPECT_EQ(alphaOf(pixel(size / 2, size / 2)), 255);

    const Picture& trueColour = pictureOf(size, 32);
    // Fewer colours and hard edges cost some accuracy, but a misplaced row, pixel or palette
    // entry costs far more.
    EXPECT_LT(meanDifference(picture, trueColour), bitCount == 4 ? 8.0 : 4.0);
    // Each size is drawn on its own, so only the edges differ from the largest image.
    EXPECT_LT(meanDifference(trueColour, sampled(pictureOf(256, 32), size)), 10.0);
  }
}

// ---- BMP to PNG ------------------------------------------------------------------------------

}  // namespace
}  // namespace quorvane
