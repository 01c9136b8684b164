// BMP files: RGB 565 pictures written as uncompressed 24-bit bitmaps, for the
// program's screenshots and slvtool's rendered frames. Knows nothing of where
// the pixels come from.
#pragma once

#include <cstdint>
#include <vector>

// The bytes of a 24-bit BMP file of the picture: width × height pixels of RGB 565
// (red in the top bits), rows strideBytes apart from the top row down. The file
// stores the rows bottom-up, as blue, green, red, each padded to 4 bytes; the
// image size, resolution and colour count fields are 0. Each channel is widened
// to 8 bits by repeating its high bits below it, as the board widens its colour
// buffer for blending: 0 stays 0 and the largest value becomes 255. False, with out empty,
// when the picture is too large for the format.
bool EncodeBmp565(const void* pixels, uint32_t strideBytes, uint32_t width, uint32_t height,
                  std::vector<uint8_t>* out);

// Encodes the picture and writes it to the disk file path (File's naming: a
// backslash separates folders everywhere). False when it is too large or the file
// cannot be written; no folder is ever made.
bool WriteBmp565(const char* path, const void* pixels, uint32_t strideBytes, uint32_t width,
                 uint32_t height);
