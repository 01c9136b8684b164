// The Glide 2.x API subset that Solvane calls: names, types and constant values
// of the 3dfx library, implemented in software by this folder. The polygon
// pipeline, the effect, the options screen and the shell meet the rasteriser
// only through this header; it knows nothing of windows or of SDL.
#pragma once

#include <cstdint>

extern "C" {

typedef int32_t FxI32;
typedef uint32_t FxU32;
typedef uint16_t FxU16;
typedef uint8_t FxU8;
typedef int32_t FxBool;
#define FXTRUE 1
#define FXFALSE 0

typedef FxU32 GrColor_t;
typedef FxU8 GrAlpha_t;
typedef FxI32 GrCmpFnc_t;
typedef FxI32 GrDepthBufferMode_t;
typedef FxI32 GrAlphaBlendFnc_t;
typedef FxI32 GrAlphaSource_t;
typedef FxI32 GrColorCombineFnc_t;
typedef FxI32 GrBuffer_t;
typedef FxI32 GrLock_t;
typedef FxI32 GrLfbWriteMode_t;
typedef FxI32 GrOriginLocation_t;
typedef FxI32 GrColorFormat_t;
typedef FxI32 GrDitherMode_t;
typedef FxI32 GrScreenResolution_t;
typedef FxI32 GrScreenRefresh_t;
typedef FxI32 GrSstType;
// The window handle given to grSstWinOpen. Glide 2 took a 32-bit value; a
// pointer-sized one keeps 64-bit window handles whole.
typedef uintptr_t GrWindowHandle_t;

#define GR_DEPTHBUFFER_DISABLE 0x0
#define GR_DEPTHBUFFER_ZBUFFER 0x1
#define GR_DEPTHBUFFER_WBUFFER 0x2

#define GR_CMP_NEVER 0x0
#define GR_CMP_LESS 0x1
#define GR_CMP_EQUAL 0x2
#define GR_CMP_LEQUAL 0x3
#define GR_CMP_GREATER 0x4
#define GR_CMP_NOTEQUAL 0x5
#define GR_CMP_GEQUAL 0x6
#define GR_CMP_ALWAYS 0x7

#define GR_BLEND_ZERO 0x0
#define GR_BLEND_SRC_ALPHA 0x1
#define GR_BLEND_SRC_COLOR 0x2
#define GR_BLEND_DST_COLOR GR_BLEND_SRC_COLOR
#define GR_BLEND_DST_ALPHA 0x3
#define GR_BLEND_ONE 0x4
#define GR_BLEND_ONE_MINUS_SRC_ALPHA 0x5
#define GR_BLEND_ONE_MINUS_SRC_COLOR 0x6
#define GR_BLEND_ONE_MINUS_DST_COLOR GR_BLEND_ONE_MINUS_SRC_COLOR
#define GR_BLEND_ONE_MINUS_DST_ALPHA 0x7
#define GR_BLEND_ALPHA_SATURATE 0xF

#define GR_ALPHASOURCE_CC_ALPHA 0x0
#define GR_ALPHASOURCE_ITERATED_ALPHA 0x1
#define GR_ALPHASOURCE_TEXTURE_ALPHA 0x2
#define GR_ALPHASOURCE_TEXTURE_ALPHA_TIMES_ITERATED_ALPHA 0x3

#define GR_COLORCOMBINE_ZERO 0x0
#define GR_COLORCOMBINE_CCRGB 0x1
#define GR_COLORCOMBINE_ITRGB 0x2
#define GR_COLORCOMBINE_ITRGB_DELTA0 0x3
#define GR_COLORCOMBINE_DECAL_TEXTURE 0x4
#define GR_COLORCOMBINE_ONE 0x10

#define GR_BUFFER_FRONTBUFFER 0x0
#define GR_BUFFER_BACKBUFFER 0x1
#define GR_BUFFER_AUXBUFFER 0x2
#define GR_BUFFER_DEPTHBUFFER 0x3
#define GR_BUFFER_ALPHABUFFER 0x4
#define GR_BUFFER_TRIPLEBUFFER 0x5

#define GR_LFB_READ_ONLY 0x0
#define GR_LFB_WRITE_ONLY 0x1
#define GR_LFBWRITEMODE_565 0x0
#define GR_LFBWRITEMODE_ANY 0xFF

#define GR_ORIGIN_UPPER_LEFT 0x0
#define GR_ORIGIN_LOWER_LEFT 0x1

#define GR_COLORFORMAT_ARGB 0x0
#define GR_COLORFORMAT_ABGR 0x1
#define GR_COLORFORMAT_RGBA 0x2
#define GR_COLORFORMAT_BGRA 0x3

#define GR_DITHER_DISABLE 0x0
#define GR_DITHER_2x2 0x1
#define GR_DITHER_4x4 0x2

#define GR_RESOLUTION_640x480 0x7
#define GR_REFRESH_60Hz 0x0

#define GR_WDEPTHVALUE_NEAREST 0x0000
#define GR_WDEPTHVALUE_FARTHEST 0xFFFF

#define GR_SSTTYPE_VOODOO 0
#define MAX_NUM_SST 4
#define GLIDE_NUM_TMU 3

// One vertex in screen space: x, y in pixels from the top-left corner, colours
// and alpha as floats from 0 to 255, oow = 1/w for the W-buffer. 60 bytes.
typedef struct {
    float sow, tow, oow;
} GrTmuVertex;

typedef struct {
    float x, y, z;
    float r, g, b;
    float ooz;
    float a;
    float oow;
    GrTmuVertex tmuvtx[2];
} GrVertex;

typedef struct {
    int size;
    void* lfbPtr;
    FxU32 strideInBytes;
    GrLfbWriteMode_t writeMode;
    GrOriginLocation_t origin;
} GrLfbInfo_t;

typedef struct {
    int tmuRev;
    int tmuRam;
} GrTMUConfig_t;

typedef struct {
    int fbRam;
    int fbiRev;
    int nTexelfx;
    FxBool sliDetect;
    GrTMUConfig_t tmuConfig[GLIDE_NUM_TMU];
} GrVoodooConfig_t;

typedef struct {
    int num_sst;
    struct {
        GrSstType type;
        union {
            GrVoodooConfig_t VoodooConfig;
        } sstBoard;
    } SSTs[MAX_NUM_SST];
} GrHwConfiguration;

void grGlideInit(void);
void grGlideShutdown(void);
FxBool grSstQueryHardware(GrHwConfiguration* hwConfig);
void grSstSelect(int whichSst);
FxBool grSstWinOpen(GrWindowHandle_t hWnd, GrScreenResolution_t resolution,
                    GrScreenRefresh_t refresh, GrColorFormat_t colorFormat,
                    GrOriginLocation_t origin, int numColorBuffers, int numAuxBuffers);
void grSstWinClose(void);
FxU32 grSstScreenWidth(void);
FxU32 grSstScreenHeight(void);

void grBufferClear(GrColor_t color, GrAlpha_t alpha, FxU16 depth);
void grBufferSwap(int swapInterval);

void grDepthBufferMode(GrDepthBufferMode_t mode);
void grDepthBufferFunction(GrCmpFnc_t function);
void grDepthMask(FxBool enable);
void grAlphaBlendFunction(GrAlphaBlendFnc_t rgbSrc, GrAlphaBlendFnc_t rgbDst,
                          GrAlphaBlendFnc_t alphaSrc, GrAlphaBlendFnc_t alphaDst);
void guAlphaSource(GrAlphaSource_t mode);
void guColorCombineFunction(GrColorCombineFnc_t function);
void grDitherMode(GrDitherMode_t mode);

void grDrawTriangle(const GrVertex* a, const GrVertex* b, const GrVertex* c);
void grDrawPolygonVertexList(int vertexCount, const GrVertex vertices[]);

FxBool grLfbLock(GrLock_t type, GrBuffer_t buffer, GrLfbWriteMode_t writeMode,
                 GrOriginLocation_t origin, FxBool pixelPipeline, GrLfbInfo_t* info);
FxBool grLfbUnlock(GrLock_t type, GrBuffer_t buffer);

} // extern "C"

static_assert(sizeof(GrVertex) == 60, "GrVertex is fifteen 32-bit floats");
