// Opens the board with its rasteriser threads, draws a frame and returns from
// main without closing anything: the process must still end.
#include "glide/board.h"
#include "glide/glide.h"

int main() {
    glide::SetThreadCount(2);
    grGlideInit();
    GrHwConfiguration hardware;
    if (!grSstQueryHardware(&hardware)) {
        return 1;
    }
    grSstSelect(0);
    if (!grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ABGR,
                      GR_ORIGIN_UPPER_LEFT, 2, 0)) {
        return 1;
    }
    grBufferClear(0, 0, 0xFFFF);
    grBufferSwap(1);
    return 0;
}
