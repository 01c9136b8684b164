#include "toolkit/picture.h"

#include "toolkit/error.h"
#include "toolkit/memory.h"
#include "toolkit/text.h"

#include <algorithm>
#include <cstring>
#include <new>

bool PixelFormat::operator==(const PixelFormat& other) const {
    return std::memcmp(values, other.values, sizeof values) == 0;
}

bool Picture::MakeStore(int32_t newWidth, int32_t newHeight, int32_t newBitsPerPixel) {
    if (newWidth < 0 || newHeight < 0 || newBitsPerPixel < 0)
        return SetError(ErrorCode::OutOfMemory);
    int64_t newBytesPerPixel = (int64_t(newBitsPerPixel) + 7) / 8;
    int64_t newStride = (int64_t(newWidth) * newBytesPerPixel + 3) & ~int64_t(3);
    int64_t storeSize = newStride * newHeight;
    if (newStride > INT32_MAX || storeSize > int64_t(UINT32_MAX) - 2)
        return SetError(ErrorCode::OutOfMemory);
    Release(); // a store already held would otherwise be lost
    unsigned char* store = static_cast<unsigned char*>(Allocate(uint32_t(storeSize)));
    if (!store)
        return false;
    MemFill(store, 0, uint32_t(storeSize));
    pixels = store;
    width = newWidth;
    height = newHeight;
    bitsPerPixel = newBitsPerPixel;
    bytesPerPixel = int32_t(newBytesPerPixel);
    stride = int32_t(newStride);
    return true;
}

bool Picture::Create(int32_t newWidth, int32_t newHeight, int32_t newBitsPerPixel,
                     bool withPalette) {
    if (!MakeStore(newWidth, newHeight, newBitsPerPixel))
        return false;
    hasFormat = 0;
    delete palette;
    palette = withPalette ? new (std::nothrow) Palette : nullptr;
    valid = 1;
    return true;
}

bool Picture::CreateWithFormat(int32_t newWidth, int32_t newHeight, int32_t newBitsPerPixel,
                               const PixelFormat& pixelFormat) {
    Palette* kept = palette;
    palette = nullptr; // MakeStore releases the palette with the old store
    bool made = MakeStore(newWidth, newHeight, newBitsPerPixel);
    palette = kept;
    if (!made)
        return false;
    hasFormat = 1;
    format = pixelFormat;
    valid = 1;
    return true;
}

bool Picture::LoadThrough(const char* name, PictureHandler* handler, bool withOption,
                          int32_t option) {
    bool loaded = withOption ? handler->LoadWith(name, this, option) : handler->Load(name, this);
    if (loaded) {
        valid = 1;
        return true;
    }
    return SetHandlerError(handler->GetError(), false);
}

bool Picture::Load(const char* name) {
    PictureHandler* handler = FindHandler(name);
    if (!handler)
        return SetError(ErrorCode::PictureFormat);
    return LoadThrough(name, handler, false, 0);
}

bool Picture::LoadWith(const char* name, PictureHandler* handler, int32_t option) {
    if (!handler)
        handler = FindHandler(name);
    if (!handler)
        return false;
    return LoadThrough(name, handler, true, option);
}

bool Picture::Blit(const Picture& source, int32_t x, int32_t y, int32_t originX, int32_t originY,
                   int32_t w, int32_t h) {
    if (hasFormat != source.hasFormat || (hasFormat && format != source.format) ||
        bytesPerPixel != source.bytesPerPixel || !pixels || !source.pixels)
        return true;
    // Work in 64 bits: the corners may lie far outside either picture.
    auto clamp = [](int64_t v) {
        return int32_t(std::min<int64_t>(INT32_MAX, std::max<int64_t>(INT32_MIN, v)));
    };
    PictureRect target = {x, y, clamp(int64_t(x) + w), clamp(int64_t(y) + h)};
    PictureRect ownExtent = {0, 0, width, height};
    PictureRect sourceExtent = {originX, originY, clamp(int64_t(originX) + source.width),
                                clamp(int64_t(originY) + source.height)};
    PictureRect r;
    if (!Intersect(target, clip, &r) || !Intersect(r, ownExtent, &r) ||
        !Intersect(r, sourceExtent, &r))
        return true;
    size_t rowBytes = size_t(r.right - r.left) * size_t(bytesPerPixel);
    for (int32_t row = r.top; row < r.bottom; ++row) {
        const unsigned char* from = source.pixels + size_t(row - originY) * size_t(source.stride) +
                                    size_t(r.left - originX) * size_t(bytesPerPixel);
        unsigned char* to =
            pixels + size_t(row) * size_t(stride) + size_t(r.left) * size_t(bytesPerPixel);
        std::memmove(to, from, rowBytes);
    }
    return true;
}

bool Picture::Release() {
    if (pixels)
        Free(pixels);
    delete palette;
    pixels = nullptr;
    palette = nullptr;
    return true;
}

PictureHandler* FindHandler(const char* name) {
    if (!pictureHandlers)
        return nullptr;
    const char* dot = StrFindLast(name, '.');
    const char* extension = dot ? dot + 1 : "";
    for (bool more = pictureHandlers->First(); more; more = pictureHandlers->Next()) {
        PictureHandler* handler = static_cast<PictureHandler*>(pictureHandlers->Current());
        if (handler->Accepts(name, extension))
            return handler;
    }
    return nullptr;
}

bool Intersect(const PictureRect& a, const PictureRect& b, PictureRect* result) {
    int32_t aLeft = std::min(a.left, a.right), aRight = std::max(a.left, a.right);
    int32_t aTop = std::min(a.top, a.bottom), aBottom = std::max(a.top, a.bottom);
    int32_t bLeft = std::min(b.left, b.right), bRight = std::max(b.left, b.right);
    int32_t bTop = std::min(b.top, b.bottom), bBottom = std::max(b.top, b.bottom);
    if (aLeft >= bRight || bLeft >= aRight || aTop >= bBottom || bTop >= aBottom)
        return false;
    *result = {std::max(aLeft, bLeft), std::max(aTop, bTop), std::min(aRight, bRight),
               std::min(aBottom, bBottom)};
    return true;
}
