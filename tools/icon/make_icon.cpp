// make_icon out.ico: draws Quorvane's program icon and writes it as a Windows icon file.
//
// The picture: a blue rounded square with white stairs whose top step is an upward arrow (a climb
// up the ladder) and a gold coin (the price). It is drawn on a 16-unit grid whose straight edges
// fall on pixel boundaries at 16, 32, 48, 64, 96, 128 and 256 pixels, so the small sizes stay
// sharp, and every size is rendered on its own rather than scaled from a large one.
//
// The file holds the sizes and colour depths the Windows shell picks from, with palette images for
// displays and dialogs that ask for few colours; the 256-pixel images are PNG to keep the file
// small.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "png_writer.h"

namespace quorvane {

namespace {

// ---- Drawing ----------------------------------------------------------------------------------

constexpr double kGrid = 16;

uint8_t toByte(double value) {
  return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

// Premultiplied by alpha, each component in [0, 1].
struct Colour {
  double red = 0, green = 0, blue = 0, alpha = 0;
};

constexpr Colour opaque(uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, 1};
}

Colour mix(Colour from, Colour to, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {from.red + (to.red - from.red) * t, from.green + (to.green - from.green) * t,
          from.blue + (to.blue - from.blue) * t, from.alpha + (to.alpha - from.alpha) * t};
}

bool inRect(double x, double y, double left, double top, double right, double bottom) {
  return x >= left && x < right && y >= top && y < bottom;
}

// Signed distance to the icon's rounded square, which fills the whole grid.
double roundedSquareDistance(double x, double y) {
  constexpr double kCentre = kGrid / 2;
  constexpr double kCornerRadius = 3.5;
  const double qx = std::abs(x - kCentre) - (kCentre - kCornerRadius);
  const double qy = std::abs(y - kCentre) - (kCentre - kCornerRadius);
  const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
  return outside + std::min(std::max(qx, qy), 0.0) - kCornerRadius;
}

// Two steps, then a third that ends in an arrowhead pointing up.
bool onStairs(double x, double y) {
  constexpr double kFloor = 14;
  constexpr double kArrowTip = 2, kArrowBase = 6, kArrowCentre = 12, kArrowHalfWidth = 3;
  const bool inArrowhead =
      y >= kArrowTip && y < kArrowBase &&
      std::abs(x - kArrowCentre) <= (y - kArrowTip) / (kArrowBase - kArrowTip) * kArrowHalfWidth;
  return inRect(x, y, 2, 11, 6, kFloor) || inRect(x, y, 6, 8, 10, kFloor) ||
         inRect(x, y, 10, kArrowBase, 14, kFloor) || inArrowhead;
}

Colour sceneAt(double x, double y) {
  if (roundedSquareDistance(x, y) > 0) return {};
  Colour colour = mix(opaque(0x4F74FA), opaque(0x2A2FB0), y / kGrid);
  if (onStairs(x, y)) colour = opaque(0xFFFFFF);

  constexpr double kCoinX = 4.5, kCoinY = 4.5, kCoinRadius = 2.5;
  const double fromCoin = std::hypot(x - kCoinX, y - kCoinY);
  if (fromCoin <= kCoinRadius) {
    const double shade = (y - (kCoinY - kCoinRadius)) / (2 * kCoinRadius);
    if (fromCoin > kCoinRadius - 0.35) {
      colour = opaque(0xB8780A);  // rim
    } else if (fromCoin > kCoinRadius * 0.62) {
      colour = mix(opaque(0xFFDE59), opaque(0xF2A81D), shade);
    } else {
      colour = mix(opaque(0xF2A81D), opaque(0xFFD447), shade);  // the sunken face, lit from below
    }
  }
  return colour;
}

// Straight RGBA pixels; each pixel averages 8 x 8 samples of the scene.
std::vector<uint32_t> render(int size) {
  constexpr int kSamples = 8;
  const double unitsPerPixel = kGrid / size;
  std::vector<uint32_t> pixels;
  pixels.reserve(size_t(size) * size);
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      Colour sum;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const Colour sample = sceneAt((px + (sx + 0.5) / kSamples) * unitsPerPixel,
                                        (py + (sy + 0.5) / kSamples) * unitsPerPixel);
          sum = {sum.red + sample.red, sum.green + sample.green, sum.blue + sample.blue,
                 sum.alpha + sample.alpha};
        }
      }
      const double alpha = sum.alpha / (kSamples * kSamples);
      pixels.push_back(alpha == 0
                           ? 0
                           : packRgba(toByte(255 * sum.red / sum.alpha),
                                      toByte(255 * sum.green / sum.alpha),
                                      toByte(255 * sum.blue / sum.alpha), toByte(255 * alpha)));
    }
  }
  return pixels;
}

// ---- Colour reduction -------------------------------------------------------------------------

struct PaletteImage {
  std::vector<uint32_t> palette;  // straight RGBA; entry 0 is transparent black
  std::vector<uint8_t> indices;
};

using Premultiplied = std::array<double, 4>;

Premultiplied premultiplied(uint32_t rgba) {
  const double alpha = alphaOf(rgba) / 255.0;
  return {redOf(rgba) * alpha, greenOf(rgba) * alpha, blueOf(rgba) * alpha, double(alphaOf(rgba))};
}

uint32_t straight(const Premultiplied& colour) {
  if (colour[3] < 0.5) return 0;
  const double alpha = colour[3] / 255.0;
  return packRgba(toByte(colour[0] / alpha), toByte(colour[1] / alpha), toByte(colour[2] / alpha),
                  toByte(colour[3]));
}

double distance(const Premultiplied& a, const Premultiplied& b) {
  double sum = 0;
  for (size_t k = 0; k < 4; ++k) sum += (a[k] - b[k]) * (a[k] - b[k]);
  return sum;
}

struct Swatch {
  Premultiplied colour;
  double count;
};

Premultiplied meanOf(const std::vector<Swatch>& swatches) {
  Premultiplied sum{};
  double count = 0;
  for (const Swatch& swatch : swatches) {
    for (size_t k = 0; k < 4; ++k) sum[k] += swatch.colour[k] * swatch.count;
    count += swatch.count;
  }
  for (double& component : sum) component /= count;
  return sum;
}

size_t nearest(const std::vector<Premultiplied>& centres, const Premultiplied& colour) {
  size_t best = 0;
  for (size_t i = 1; i < centres.size(); ++i) {
    if (distance(centres[i], colour) < distance(centres[best], colour)) best = i;
  }
  return best;
}

// Median cut picks starting colours, a few rounds of k-means refine them. Fully transparent pixels
// always get entry 0, transparent black, which is also what an icon's colour mask needs under a
// set AND-mask bit.
PaletteImage reduceColours(const std::vector<uint32_t>& pixels, size_t maxColours) {
  std::map<uint32_t, double> counts;
  for (uint32_t pixel : pixels) {
    if (alphaOf(pixel) != 0) counts[pixel] += 1;
  }
  std::vector<Swatch> swatches;
  for (const auto& [pixel, count] : counts) swatches.push_back({premultiplied(pixel), count});

  std::vector<std::vector<Swatch>> boxes;
  if (!swatches.empty()) boxes.push_back(swatches);
  const auto widestChannel = [](const std::vector<Swatch>& box) {
    std::pair<double, size_t> widest{-1, 0};
    for (size_t k = 0; k < 4; ++k) {
      const auto [low, high] =
          std::ranges::minmax(box, {}, [k](const Swatch& s) { return s.colour[k]; });
      widest = std::max(widest, std::pair{high.colour[k] - low.colour[k], k});
    }
    return widest;
  };
  while (boxes.size() < maxColours - 1) {
    const auto box = std::ranges::max_element(boxes, {}, [&](const std::vector<Swatch>& b) {
      return b.size() < 2 ? -1.0 : widestChannel(b).first;
    });
    if (box->size() < 2) break;
    const size_t channel = widestChannel(*box).second;
    std::ranges::sort(*box, {}, [channel](const Swatch& s) { return s.colour[channel]; });
    double total = 0;
    for (const Swatch& swatch : *box) total += swatch.count;
    size_t split = 1;
    for (double below = box->front().count; split + 1 < box->size() && below < total / 2; ++split) {
      below += (*box)[split].count;
    }
    std::vector<Swatch> upper(box->begin() + split, box->end());
    box->resize(split);
    boxes.push_back(std::move(upper));
  }

  std::vector<Premultiplied> centres{Premultiplied{}};
  for (const auto& box : boxes) centres.push_back(meanOf(box));
  for (int round = 0; round < 8; ++round) {
    std::vector<std::vector<Swatch>> clusters(centres.size());
    for (const Swatch& swatch : swatches) {
      clusters[nearest(centres, swatch.colour)].push_back(swatch);
    }
    for (size_t i = 1; i < centres.size(); ++i) {
      if (!clusters[i].empty()) centres[i] = meanOf(clusters[i]);
    }
  }

  PaletteImage image;
  for (const Premultiplied& centre : centres) image.palette.push_back(straight(centre));
  for (uint32_t pixel : pixels) {
    image.indices.push_back(static_cast<uint8_t>(nearest(centres, premultiplied(pixel))));
  }
  return image;
}

// Palette DIBs have no alpha, only the AND mask: a pixel is either shown or not.
std::vector<uint32_t> withHardEdges(std::vector<uint32_t> pixels) {
  for (uint32_t& pixel : pixels) pixel = alphaOf(pixel) < 128 ? 0 : pixel | 0xFF;
  return pixels;
}

// ---- File layout ------------------------------------------------------------------------------

void appendLittleEndian(std::string& out, uint32_t value, int byteCount) {
  for (int k = 0; k < byteCount; ++k) out += static_cast<char>(value >> (8 * k));
}

size_t rowBytes(int pixels, int bitCount) { return (size_t(pixels) * bitCount + 31) / 32 * 4; }

// A classic icon image: BITMAPINFOHEADER (its height counts the colour and the AND mask), the
// palette if any, the colour rows and the AND-mask rows, both bottom-up. A set mask bit lets the
// background through; those pixels are black in the colour rows.
std::string encodeDib(int size, int bitCount, const std::vector<uint32_t>& rgbaPixels) {
  const std::vector<uint32_t> pixels = bitCount == 32 ? rgbaPixels : withHardEdges(rgbaPixels);
  const PaletteImage reduced =
      bitCount == 32 ? PaletteImage{} : reduceColours(pixels, size_t{1} << bitCount);
  const size_t colourRowBytes = rowBytes(size, bitCount);
  const size_t maskRowBytes = rowBytes(size, 1);

  std::string dib;
  appendLittleEndian(dib, 40, 4);
  appendLittleEndian(dib, size, 4);
  appendLittleEndian(dib, 2 * size, 4);
  appendLittleEndian(dib, 1, 2);  // planes
  appendLittleEndian(dib, bitCount, 2);
  appendLittleEndian(dib, 0, 4);  // BI_RGB
  appendLittleEndian(dib, (colourRowBytes + maskRowBytes) * size, 4);
  dib.append(16, '\0');  // no resolution; all palette colours used and important

  if (bitCount != 32) {
    for (size_t i = 0; i < size_t{1} << bitCount; ++i) {
      const uint32_t colour = i < reduced.palette.size() ? reduced.palette[i] : 0;
      dib += {static_cast<char>(blueOf(colour)), static_cast<char>(greenOf(colour)),
              static_cast<char>(redOf(colour)), '\0'};
    }
  }
  for (int y = size - 1; y >= 0; --y) {
    std::string row(colourRowBytes, '\0');
    for (int x = 0; x < size; ++x) {
      const size_t at = size_t(y) * size + x;
      if (bitCount == 32) {
        const uint32_t pixel = pixels[at];
        const uint8_t bgra[] = {blueOf(pixel), greenOf(pixel), redOf(pixel), alphaOf(pixel)};
        std::ranges::copy(bgra, row.begin() + x * 4);
      } else {
        const int bitOffset = x * bitCount;
        const int shift = 8 - bitCount - bitOffset % 8;
        row[bitOffset / 8] = static_cast<char>(row[bitOffset / 8] | reduced.indices[at] << shift);
      }
    }
    dib += row;
  }
  for (int y = size - 1; y >= 0; --y) {
    std::string row(maskRowBytes, '\0');
    for (int x = 0; x < size; ++x) {
      if (alphaOf(pixels[size_t(y) * size + x]) == 0) {
        row[x / 8] = static_cast<char>(row[x / 8] | 0x80 >> (x % 8));
      }
    }
    dib += row;
  }
  return dib;
}

std::string encodeIconPng(int size, int bitCount, const std::vector<uint32_t>& rgbaPixels) {
  if (bitCount == 32) return encodePng(size, size, rgbaPixels);
  const PaletteImage reduced = reduceColours(rgbaPixels, size_t{1} << bitCount);
  return encodePalettePng(size, size, bitCount, reduced.palette, reduced.indices);
}

struct IconEntry {
  int size;
  int bitCount;
};

// Grouped by colour depth, each group from small to large.
constexpr IconEntry kEntries[] = {
    {16, 4},  {32, 4},  {48, 4},                                             //
    {16, 8},  {32, 8},  {48, 8},   {72, 8},  {96, 8},  {128, 8},             //
    {16, 32}, {32, 32}, {48, 32},  {64, 32}, {72, 32}, {96, 32}, {128, 32},  //
    {256, 4}, {256, 8}, {256, 32},
};

// Sizes above 255 are stored as PNG; their directory byte for width and height is 0.
constexpr int kLargestDibSize = 255;

std::string buildIconFile() {
  std::map<int, std::vector<uint32_t>> pictures;
  std::vector<std::string> images;
  for (const IconEntry& entry : kEntries) {
    auto picture = pictures.find(entry.size);
    if (picture == pictures.end()) picture = pictures.emplace(entry.size, render(entry.size)).first;
    images.push_back(entry.size > kLargestDibSize
                         ? encodeIconPng(entry.size, entry.bitCount, picture->second)
                         : encodeDib(entry.size, entry.bitCount, picture->second));
  }

  std::string file;
  appendLittleEndian(file, 0, 2);  // reserved
  appendLittleEndian(file, 1, 2);  // type: icon
  appendLittleEndian(file, std::size(kEntries), 2);
  size_t offset = file.size() + 16 * std::size(kEntries);
  for (size_t i = 0; i < std::size(kEntries); ++i) {
    const auto [size, bitCount] = kEntries[i];
    const uint32_t sizeByte = size > kLargestDibSize ? 0 : size;
    appendLittleEndian(file, sizeByte, 1);
    appendLittleEndian(file, sizeByte, 1);
    appendLittleEndian(file, bitCount < 8 ? 1 << bitCount : 0, 1);  // palette colours, 0 if 256+
    appendLittleEndian(file, 0, 1);                                 // reserved
    appendLittleEndian(file, 1, 2);                                 // planes
    appendLittleEndian(file, bitCount, 2);
    appendLittleEndian(file, images[i].size(), 4);
    appendLittleEndian(file, offset, 4);
    offset += images[i].size();
  }
  for (const std::string& image : images) file += image;
  return file;
}

}  // namespace

}  // namespace quorvane

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_icon out.ico\n";
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << quorvane::buildIconFile();
  out.close();
  if (!out) {
    std::cerr << "make_icon: cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
