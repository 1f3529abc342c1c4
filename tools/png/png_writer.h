// A small PNG encoder for the host-side tools: true-colour pictures with alpha, and palette
// pictures for icon entries that promise few colours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane {

// Pixels are packed as 0xRRGGBBAA, rows top to bottom, alpha not premultiplied.
constexpr uint32_t packRgba(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
  return uint32_t{red} << 24 | uint32_t{green} << 16 | uint32_t{blue} << 8 | alpha;
}
constexpr uint8_t redOf(uint32_t rgba) { return static_cast<uint8_t>(rgba >> 24); }
constexpr uint8_t greenOf(uint32_t rgba) { return static_cast<uint8_t>(rgba >> 16); }
constexpr uint8_t blueOf(uint32_t rgba) { return static_cast<uint8_t>(rgba >> 8); }
constexpr uint8_t alphaOf(uint32_t rgba) { return static_cast<uint8_t>(rgba); }

// An 8-bit RGBA PNG (colour type 6). Throws std::invalid_argument if the pixel count does not
// match the size.
std::string encodePng(int width, int height, const std::vector<uint32_t>& rgbaPixels);

// A palette PNG (colour type 3) at 1, 2, 4 or 8 bits per pixel: each pixel is an index into
// `paletteRgba`, which holds at most 2^bitDepth colours. Alpha below 255 in the palette is kept
// (tRNS). Throws std::invalid_argument on inconsistent input.
std::string encodePalettePng(int width, int height, int bitDepth,
                             const std::vector<uint32_t>& paletteRgba,
                             const std::vector<uint8_t>& indices);

}  // namespace quorvane
