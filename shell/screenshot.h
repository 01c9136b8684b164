// Screenshots: the front buffer read back through Glide's linear frame buffer,
// written as a 24-bit bitmap "scrnshot\zentorNN.bmp" (toolkit/bmp.h) with the
// next free number. The folder is never created; every failure is quiet.
#pragma once

#include <cstddef>

// Reads the front buffer and writes the next numbered file. False when the
// buffer cannot be locked or is not RGB 565; a file that cannot be written
// still gives true (the shot is simply lost).
bool TakeScreenshot();

// The first "scrnshot\zentor%02d.bmp" that cannot be opened on disk (the
// archive is never asked). False when the numbers run out or name is too small.
bool NextScreenshotName(char* name, size_t nameSize);
