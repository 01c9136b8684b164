// Picture: an in-memory image of pixel rows with 4-byte aligned rows, made
// empty or loaded through a registered picture format handler chosen by the
// file's extension; one picture copies a clipped rectangle of another.
#pragma once

#include <cstdint>

class Picture;

// A rectangle in pixels: left and top inclusive, right and bottom exclusive.
// A rectangle may come with its corners swapped; Intersect orders them.
struct PictureRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// Six values describing a pixel layout, given by the creator and only compared
// as a whole.
struct PixelFormat {
    uint32_t values[6];
    bool operator==(const PixelFormat& other) const;
    bool operator!=(const PixelFormat& other) const { return !(*this == other); }
};

// A palette object; it holds no data in this system.
struct Palette {};

// A reader of one picture file format. Registered in pictureHandlers
// (toolkit/memory.h), which does not own it.
class PictureHandler {
public:
    virtual ~PictureHandler() = default;
    // Reads the file name into picture.
    virtual bool Load(const char* name, Picture* picture) = 0;
    virtual bool LoadWith(const char* name, Picture* picture, int32_t option) = 0;
    // Whether the handler reads files with this name and extension (the text
    // after the last '.', or "").
    virtual bool Accepts(const char* name, const char* extension) = 0;
    // The handler's own code for its last failure.
    virtual int32_t GetError() = 0;
};

class Picture {
public:
    Picture() = default;
    virtual ~Picture() { Release(); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // A zeroed pixel store of height rows of stride bytes, without a format.
    // Replaces the palette: deleted, and made anew when withPalette. A store
    // already held is released first. False (code 13) when the store cannot be
    // had, including negative or overflowing sizes.
    virtual bool Create(int32_t width, int32_t height, int32_t bitsPerPixel, bool withPalette);
    // As Create with a pixel format; the palette is left as it is.
    virtual bool CreateWithFormat(int32_t width, int32_t height, int32_t bitsPerPixel,
                                  const PixelFormat& pixelFormat);
    // Through the first handler that accepts name: code 23 when none does, the
    // handler's own code (through SetHandlerError) when it fails.
    virtual bool Load(const char* name);
    // As Load with the given handler (null: the first that accepts name; none:
    // false without a code).
    virtual bool LoadWith(const char* name, PictureHandler* handler, int32_t option);
    // Copies the rectangle (x, y, x + w, y + h) of this picture from source,
    // whose pixel (0, 0) lies at (originX, originY). The rectangle is clipped to
    // the clip rectangle, to this picture and to the source; pictures of
    // different layouts (format or bytes per pixel) copy nothing. Always true.
    virtual bool Blit(const Picture& source, int32_t x, int32_t y, int32_t originX, int32_t originY,
                      int32_t w, int32_t h);
    // Frees the pixel store and the palette; valid is kept. Always true.
    virtual bool Release();
    virtual void SetValid() { valid = 1; }
    virtual void SetInvalid() { valid = 0; }

    // The rectangle Blit may write to; all zero (nothing) until set.
    void SetClip(const PictureRect& rectangle) { clip = rectangle; }

    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 0;
    int32_t stride = 0;        // bytes per row: width * bytesPerPixel rounded up to 4
    int32_t bytesPerPixel = 0; // (bitsPerPixel + 7) / 8
    PixelFormat format = {};
    unsigned char* pixels = nullptr; // height rows of stride bytes (memory manager)
    uint8_t hasFormat = 0;
    int32_t valid = 0; // 1 after a successful create or load
    Palette* palette = nullptr;
    PictureRect clip = {0, 0, 0, 0};

private:
    bool MakeStore(int32_t newWidth, int32_t newHeight, int32_t newBitsPerPixel);
    bool LoadThrough(const char* name, PictureHandler* handler, bool withOption, int32_t option);
};

// The first registered handler that accepts name, or null.
PictureHandler* FindHandler(const char* name);

// The intersection of a and b on both axes. False when the spans do not overlap
// on either axis (spans that only touch do not overlap).
bool Intersect(const PictureRect& a, const PictureRect& b, PictureRect* result);
