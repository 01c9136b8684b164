// Writes the Glide recording fuzzer's seeds, short runs recorded by the recorder
// itself, into the folder given on the command line.
#include "glide/board.h"
#include "glide/glide.h"
#include "glide/record.h"

#include <cstdio>
#include <string>

namespace {

GrVertex At(float x, float y, float shade) {
    GrVertex v{};
    v.x = x, v.y = y, v.z = v.ooz = 1.0f, v.oow = 1.0f / (1.0f + shade);
    v.r = v.g = v.b = 255.0f * shade, v.a = 128.0f;
    return v;
}

// Records from the opening of the board to its closing, with draw() between.
template <typename Draw> bool Record(const std::string& path, Draw draw) {
    if (!glide::StartRecording(path.c_str())) {
        return false;
    }
    grGlideInit();
    grSstSelect(0);
    grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB,
                 GR_ORIGIN_UPPER_LEFT, 2, 1);
    draw();
    grSstWinClose();
    grGlideShutdown();
    glide::StopRecording();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: glide_fuzz_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    glide::SetThreadCount(1);
    const GrVertex quad[4] = {At(10, 10, 0.2f), At(40, 12, 0.5f), At(42, 50, 1.0f),
                              At(8, 44, 0.7f)};
    bool written = Record(folder + "additive.glt", [&] {
        grBufferClear(0x00102030, 0, 0xFFFF);
        grAlphaBlendFunction(GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, GR_BLEND_ONE, GR_BLEND_ZERO);
        guAlphaSource(GR_ALPHASOURCE_ITERATED_ALPHA);
        guColorCombineFunction(GR_COLORCOMBINE_ITRGB);
        grDrawPolygonVertexList(4, quad);
        grDrawTriangle(&quad[0], &quad[1], &quad[2]);
        grBufferSwap(1);
    });
    written &= Record(folder + "wbuffer-lfb.glt", [&] {
        grDepthBufferMode(GR_DEPTHBUFFER_WBUFFER);
        grDepthBufferFunction(GR_CMP_LESS);
        grDepthMask(FXTRUE);
        grDitherMode(GR_DITHER_2x2);
        grBufferClear(0, 0, 0xFFFF);
        grDrawPolygonVertexList(3, quad + 1);
        grSstScreenWidth();
        grSstScreenHeight();
        GrLfbInfo_t info{};
        info.size = sizeof info;
        if (grLfbLock(GR_LFB_READ_ONLY, GR_BUFFER_BACKBUFFER, GR_LFBWRITEMODE_ANY,
                      GR_ORIGIN_UPPER_LEFT, FXFALSE, &info)) {
            grLfbUnlock(GR_LFB_READ_ONLY, GR_BUFFER_BACKBUFFER);
        }
        grBufferSwap(0);
    });
    if (!written) {
        std::fprintf(stderr, "glide_fuzz_seeds: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
