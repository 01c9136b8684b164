#include "toolkit/bmp.h"

#include "glide/bytes.h"
#include "glide/pixel.h"
#include "toolkit/file.h"

#include <climits>
#include <cstring>
#include <new>

namespace {
constexpr uint32_t fileHeaderSize = 14;
constexpr uint32_t infoHeaderSize = 40;
} // namespace

bool EncodeBmp565(const void* pixels, uint32_t strideBytes, uint32_t width, uint32_t height,
                  std::vector<uint8_t>* out) {
    out->clear();
    const uint64_t rowBytes = (uint64_t(width) * 3u + 3u) & ~uint64_t(3);
    const uint64_t fileSize = fileHeaderSize + infoHeaderSize + rowBytes * height;
    if (fileSize > UINT32_MAX || width > INT32_MAX || height > INT32_MAX)
        return false;
    // The one allocation: the writes below stay within it.
    try {
        out->reserve(static_cast<size_t>(fileSize));
    } catch (const std::bad_alloc&) {
        return false; // a screenshot is taken inside the message loop, which must not throw
    }
    // All numbers in a BMP file are little-endian.
    ByteWriter file(*out, ByteOrder::Little);
    file.Bytes("BM", 2);
    file.U32(static_cast<uint32_t>(fileSize));
    file.U32(0); // reserved
    file.U32(fileHeaderSize + infoHeaderSize);
    // Information header: a positive height, so rows are stored bottom-up.
    file.U32(infoHeaderSize);
    file.I32(static_cast<int32_t>(width));
    file.I32(static_cast<int32_t>(height));
    file.U16(1);  // planes
    file.U16(24); // bits per pixel
    for (int field = 0; field < 6; ++field)
        file.U32(0); // compression, image size, resolutions, colours used and important

    const uint8_t* top = static_cast<const uint8_t*>(pixels);
    const uint8_t padding[3] = {0, 0, 0};
    for (uint32_t y = height; y-- > 0;) {
        const uint8_t* row = top + size_t(y) * strideBytes;
        for (uint32_t x = 0; x < width; ++x) {
            uint16_t p;
            std::memcpy(&p, row + 2 * size_t(x), sizeof p); // the picture's own (host) order
            int r, g, b;
            glide::ExpandPixel(p, &r, &g, &b);
            const uint8_t bgr[3] = {uint8_t(b), uint8_t(g), uint8_t(r)};
            file.Bytes(bgr, sizeof bgr);
        }
        file.Bytes(padding, static_cast<size_t>(rowBytes - uint64_t(width) * 3u));
    }
    return true;
}

bool WriteBmp565(const char* path, const void* pixels, uint32_t strideBytes, uint32_t width,
                 uint32_t height) {
    std::vector<uint8_t> bytes;
    if (!EncodeBmp565(pixels, strideBytes, width, height, &bytes))
        return false;
    File file;
    if (!file.Open(path, ModeWrite | ModeDiskOnly))
        return false;
    const bool written = file.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    file.Close();
    return written;
}
