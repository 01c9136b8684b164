// Front buffer to bitmap file.
#include "shell/screenshot.h"

#include "glide/glide.h"
#include "toolkit/bmp.h"
#include "toolkit/file.h"

#include <climits>
#include <cstdio>
#include <cstring>

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
    char name[64];
    if (NextScreenshotName(name, sizeof name))
        WriteBmp565(name, info.lfbPtr, info.strideInBytes, grSstScreenWidth(), grSstScreenHeight());
    grLfbUnlock(GR_LFB_READ_ONLY, GR_BUFFER_FRONTBUFFER);
    return true;
}
