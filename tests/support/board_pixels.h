// The software board's colour buffers read back as 565 pixels.
#pragma once

#include "glide/glide.h"

#include <cstdint>
#include <vector>

namespace testsupport {

// A colour buffer's 640 × 480 pixels, row by row from the top; empty when it cannot
// be read. After a swap the frame just drawn is the front buffer.
inline std::vector<uint16_t> ReadBackBuffer(GrBuffer_t buffer = GR_BUFFER_BACKBUFFER) {
    std::vector<uint16_t> pixels;
    GrLfbInfo_t info{};
    info.size = sizeof info;
    if (!grLfbLock(GR_LFB_READ_ONLY, buffer, GR_LFBWRITEMODE_565, GR_ORIGIN_UPPER_LEFT, FXFALSE,
                   &info))
        return pixels;
    for (int y = 0; y < 480; ++y) {
        const auto* row = reinterpret_cast<const uint16_t*>(
            static_cast<const uint8_t*>(info.lfbPtr) + size_t(y) * info.strideInBytes);
        pixels.insert(pixels.end(), row, row + 640);
    }
    grLfbUnlock(GR_LFB_READ_ONLY, buffer);
    return pixels;
}

} // namespace testsupport
