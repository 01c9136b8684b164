// Screenshots: the front buffer read back through Glide's linear frame buffer,
// written as an uncompressed 24-bit bottom-up bitmap "scrnshot\zentorNN.bmp"
// with the next free number. The folder is never created; every failure is quiet.
#pragma once

#include <cstddef>
#include <cstdint>

// Reads the front buffer and writes the next numbered file. False when the
// buffer cannot be locked, is not RGB 565, or no memory is left; a file that
// cannot be written still gives true (the shot is simply lost).
bool TakeScreenshot();

// Writes pixels (rows top to bottom, each width × 3 bytes blue, green, red)
// as a bitmap of Glide's screen size. False when the file cannot be opened.
bool WriteBmp(const char* name, const uint8_t* pixels);
// As WriteBmp for a picture of the given size.
bool WriteBmpSized(const char* name, const uint8_t* pixels, uint32_t width, uint32_t height);

// Expands RGB 565 pixels (rows strideBytes apart, top to bottom) into blue,
// green, red bytes with the low bits 0: out gets width × height × 3 bytes.
void ConvertRgb565(const void* pixels, uint32_t strideBytes, uint32_t width, uint32_t height,
                   uint8_t* out);

// The first "scrnshot\zentor%02d.bmp" that cannot be opened on disk (the
// archive is never asked). False when the numbers run out or name is too small.
bool NextScreenshotName(char* name, size_t nameSize);
