// Front buffer to bitmap file.
#include "shell/screenshot.h"

#include "glide/glide.h"
#include "toolkit/file.h"
#include "toolkit/memory.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace {
constexpr uint32_t BmpHeadersSize = 54; // 14-byte file header + 40-byte information header
constexpr uint32_t BmpInfoSize = 40;
} // namespace

void ConvertRgb565(const void* pixels, uint32_t strideBytes, uint32_t width, uint32_t height,
                   uint8_t* out) {
    const uint8_t* row = static_cast<const uint8_t*>(pixels);
    for (uint32_t y = 0; y < height; ++y, row += strideBytes) {
        for (uint32_t x = 0; x < width; ++x) {
            uint16_t p;
            std::memcpy(&p, row + x * 2u, sizeof p);
            *out++ = static_cast<uint8_t>((p & 0x1F) << 3);        // blue
            *out++ = static_cast<uint8_t>(((p >> 5) & 0x3F) << 2); // green
            *out++ = static_cast<uint8_t>((p >> 11) << 3);         // red
        }
    }
}

bool NextScreenshotName(char* name, size_t nameSize) {
    for (int n = 0; n < INT_MAX; ++n) {
        int length = std::snprintf(name, nameSize, "scrnshot\\zentor%02d.bmp", n);
        if (length < 0 || static_cast<size_t>(length) >= nameSize)
            return false;
        File probe;
        if (!probe.Open(name, ModeRead | ModeDiskOnly))
            return true;
        probe.Close();
    }
    return false;
}

bool WriteBmpSized(const char* name, const uint8_t* pixels, uint32_t width, uint32_t height) {
    uint64_t rowBytes = static_cast<uint64_t>(width) * 3u;
    uint64_t imageBytes = rowBytes * height;
    if (imageBytes + BmpHeadersSize > UINT32_MAX || width > INT32_MAX || height > INT32_MAX)
        return false;
    File file;
    if (!file.Open(name, ModeWrite | ModeLittleEndian))
        return false;
    // File header.
    file.Write16(0x4D42); // "BM"
    file.Write32(static_cast<uint32_t>(BmpHeadersSize + imageBytes));
    file.Write16(0);
    file.Write16(0);
    file.Write32(BmpHeadersSize);
    // Information header: positive height, so rows are stored bottom-up.
    file.Write32(BmpInfoSize);
    file.Write32(width);
    file.Write32(height);
    file.Write16(1);  // planes
    file.Write16(24); // bits per pixel
    for (int field = 0; field < 6; ++field)
        file.Write32(0); // compression, image size, resolutions, colours used and important
    // Rows need no padding at the show's width (640 × 3 is a multiple of 4).
    for (uint32_t y = height; y-- > 0;)
        file.Write(pixels + y * rowBytes, static_cast<uint32_t>(rowBytes));
    file.Close();
    return true;
}

bool WriteBmp(const char* name, const uint8_t* pixels) {
    return WriteBmpSized(name, pixels, grSstScreenWidth(), grSstScreenHeight());
}

bool TakeScreenshot() {
    GrLfbInfo_t info;
    std::memset(&info, 0, sizeof info);
    info.size = sizeof info;
    if (!grLfbLock(GR_LFB_READ_ONLY, GR_BUFFER_FRONTBUFFER, GR_LFBWRITEMODE_ANY,
                   GR_ORIGIN_UPPER_LEFT, FXFALSE, &info))
        return false;
    if (info.writeMode != GR_LFBWRITEMODE_565 || info.lfbPtr == nullptr) {
        grLfbUnlock(GR_LFB_READ_ONLY, GR_BUFFER_FRONTBUFFER);
        return false;
    }
    uint32_t width = grSstScreenWidth();
    uint32_t height = grSstScreenHeight();
    uint64_t bytes = static_cast<uint64_t>(width) * height * 3u;
    uint8_t* buffer = nullptr;
    if (bytes > 0 && bytes <= UINT32_MAX)
        buffer = static_cast<uint8_t*>(Allocate(static_cast<uint32_t>(bytes)));
    if (buffer == nullptr) {
        grLfbUnlock(GR_LFB_READ_ONLY, GR_BUFFER_FRONTBUFFER);
        return false;
    }
    ConvertRgb565(info.lfbPtr, info.strideInBytes, width, height, buffer);
    grLfbUnlock(GR_LFB_READ_ONLY, GR_BUFFER_FRONTBUFFER);

    char name[64];
    if (NextScreenshotName(name, sizeof name))
        WriteBmp(name, buffer);
    Free(buffer);
    return true;
}
