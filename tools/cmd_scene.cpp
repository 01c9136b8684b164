// slvtool scene FILE [--archive ARCHIVE] [--render FRAME OUT.bmp]: loads a
// LightWave scene as the show does and prints its frames, items, lights and
// camera keys, or the error the show would report. With --render it draws one
// frame headless on the software board and writes it as a 24-bit BMP.
#include "tools/commands.h"

#include "geometry/view.h"
#include "glide/glide.h"
#include "scene/scene.h"
#include "toolkit/archive.h"
#include "toolkit/bmp.h"
#include "toolkit/file.h"
#include "toolkit/memory.h"
#include "toolkit/report.h"
#include "glide/screen.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// File degrees from stored radians (stored with the sign inverted).
constexpr double storedToDegrees = -1.0 / 0.017453293005625408;

int Usage() {
    std::fprintf(stderr,
                 "usage: slvtool scene FILE [--archive ARCHIVE] [--render FRAME OUT.bmp]\n");
    return 2;
}

// The first line of the current report's message (after its module header).
void PrintReport(const char* fileName, const Scene& scene) {
    const char* message = std::strstr(reportText, "\n\n");
    message = message != nullptr ? message + 2 : reportText;
    long sourceLine = 0;
    std::sscanf(reportText, "Error in module \"%*[^\"]\" at line %ld", &sourceLine);
    std::fprintf(stderr, "slvtool scene: %s:%ld: %s (module Scene, line %ld)%s%s\n", fileName,
                 scene.errorFileLine, message, sourceLine, scene.errorDetail[0] != '\0' ? ": " : "",
                 scene.errorDetail);
}

void PrintKey(const char* indent, const MotionKey& key) {
    std::printf("%sframe %ld: position (%g, %g, %g), heading %g, pitch %g, bank %g%s\n", indent,
                static_cast<long>(key.frame), key.value[0], key.value[1], key.value[2],
                key.value[3] * storedToDegrees, key.value[4] * storedToDegrees,
                key.value[5] * storedToDegrees, key.linear != 0 ? ", linear" : "");
}

const char* EndBehaviourName(int32_t endBehavior) {
    return endBehavior == 0 ? "reset" : (endBehavior == 1 ? "stop" : "repeat");
}

void PrintParent(int32_t parent) {
    if (parent == -1) {
        std::printf("none");
    } else {
        std::printf("item %ld", static_cast<long>(parent + 1));
    }
}

void PrintSummary(const char* fileName, const char* archivePath, const Scene& scene) {
    std::printf("scene %s%s%s\n", fileName, archivePath != nullptr ? " in " : "",
                archivePath != nullptr ? archivePath : "");
    std::printf("frames: first %g, last %g, step %g\n", scene.firstFrame, scene.lastFrame,
                scene.frameStep);
    std::printf("items: %ld (object files: %lu)\n", static_cast<long>(scene.itemCount),
                static_cast<unsigned long>(scene.loadedObjects.size()));
    for (int32_t i = 0; i < scene.itemCount; ++i) {
        const SceneItem& item = *scene.items[i];
        std::printf("  %ld: %s, parent ", static_cast<long>(i + 1),
                    item.objectFile != nullptr ? item.objectFile->name : "(null object)");
        PrintParent(item.parent);
        std::printf(", %ld keys (%s)", static_cast<long>(item.motion.keyCount),
                    EndBehaviourName(item.motion.endBehavior));
        if (item.mesh != nullptr) {
            std::printf(", %d points, %d polygons", item.mesh->pointCount, item.mesh->polygonCount);
        }
        std::printf("\n");
    }
    std::printf("ambient: %.3f %.3f %.3f\n", scene.ambient[0], scene.ambient[1], scene.ambient[2]);
    std::printf("lights: %ld%s\n", static_cast<long>(scene.lightCount),
                scene.lightCount == 0 ? " (drawn with the ambient light only)" : "");
    for (int32_t i = 0; i < scene.lightCount; ++i) {
        const Light& light = *scene.lights[i];
        std::printf("  %ld: colour %.3f %.3f %.3f, parent ", static_cast<long>(i + 1),
                    light.colour[0], light.colour[1], light.colour[2]);
        PrintParent(light.parent);
        std::printf(", %ld keys\n", static_cast<long>(light.motion.keyCount));
    }
    std::printf("camera: parent ");
    PrintParent(scene.cameraParent);
    std::printf(", %ld keys (%s)\n", static_cast<long>(scene.cameraMotion.keyCount),
                EndBehaviourName(scene.cameraMotion.endBehavior));
    for (int32_t k = 0; k < scene.cameraMotion.keyCount; ++k) {
        PrintKey("  ", scene.cameraMotion.keys[k]);
    }
}

// Draws frame of the loaded scene as the options screen draws it (opaque,
// W-buffered) and writes the picture to outPath.
bool Render(Scene& scene, float frame, const char* outPath) {
    grGlideInit();
    grSstSelect(0);
    if (!grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB,
                      GR_ORIGIN_UPPER_LEFT, 2, 1)) {
        std::fprintf(stderr, "slvtool scene: the software board could not be opened\n");
        grGlideShutdown();
        return false;
    }
    grDepthMask(FXTRUE);
    grDepthBufferMode(GR_DEPTHBUFFER_WBUFFER);
    grBufferClear(0, 0, 0xFFFF);
    grAlphaBlendFunction(GR_BLEND_ONE, GR_BLEND_ZERO, GR_BLEND_ZERO, GR_BLEND_ZERO);
    scene.SetCurrentFrame(frame);
    scene.DrawFrame();

    bool written = false;
    GrLfbInfo_t info;
    std::memset(&info, 0, sizeof info);
    info.size = sizeof info;
    if (grLfbLock(GR_LFB_READ_ONLY, GR_BUFFER_BACKBUFFER, GR_LFBWRITEMODE_565, GR_ORIGIN_UPPER_LEFT,
                  FXFALSE, &info)) {
        written =
            WriteBmp565(outPath, info.lfbPtr, info.strideInBytes, screen::width, screen::height);
        grLfbUnlock(GR_LFB_READ_ONLY, GR_BUFFER_BACKBUFFER);
        if (!written) {
            std::fprintf(stderr, "slvtool scene: %s: cannot write the picture\n", outPath);
        }
    } else {
        std::fprintf(stderr, "slvtool scene: the frame buffer could not be read\n");
    }
    grSstWinClose();
    grGlideShutdown();
    return written;
}

} // namespace

int slvtool::SceneCommand(int argc, char** argv) {
    const char* fileName = nullptr;
    const char* archivePath = nullptr;
    const char* renderPath = nullptr;
    float renderFrame = 0.0f;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--archive") == 0) {
            if (i + 1 >= argc || archivePath != nullptr) {
                return Usage();
            }
            archivePath = argv[++i];
        } else if (std::strcmp(argv[i], "--render") == 0) {
            if (i + 2 >= argc || renderPath != nullptr) {
                return Usage();
            }
            char* end = nullptr;
            const double frame = std::strtod(argv[i + 1], &end);
            if (end == argv[i + 1] || *end != '\0' || !std::isfinite(frame) ||
                std::fabs(frame) > 1e30) {
                std::fprintf(stderr, "slvtool scene: \"%s\" is not a frame number\n", argv[i + 1]);
                return 2;
            }
            renderFrame = static_cast<float>(frame);
            renderPath = argv[i + 2];
            i += 2;
        } else if (argv[i][0] == '-' || fileName != nullptr) {
            return Usage();
        } else {
            fileName = argv[i];
        }
    }
    if (fileName == nullptr) {
        return Usage();
    }

    if (!ToolkitStartup()) {
        std::fprintf(stderr, "slvtool scene: the toolkit could not start\n");
        return 1;
    }
    int code = 0;
    if (archivePath != nullptr && ArchiveOpen(archivePath) == 0 && archivesOpen == 0) {
        std::fprintf(stderr, "slvtool scene: %s: %s\n", archivePath, ArchiveFailure());
        code = 1;
    }
    if (code == 0) {
        // The show's view volume (set when its Glide starts), so that what is
        // printed and drawn is culled as in the show.
        nearDistance = 0.1f;
        farDistance = 100000.0f;
        reportText[0] = '\0';
        Scene scene;
        if (!scene.Load(fileName, screen::width, screen::height, nullptr, nullptr)) {
            if (reportText[0] != '\0') {
                PrintReport(fileName, scene);
            } else if (scene.errorDetail[0] != '\0') {
                std::fprintf(stderr, "slvtool scene: %s: %s\n", fileName, scene.errorDetail);
            } else {
                File probe;
                if (!probe.Open(fileName, ModeRead)) {
                    std::fprintf(stderr, "slvtool scene: %s: %s\n", fileName,
                                 archivePath != nullptr ? "not in the archive" : "cannot open");
                } else {
                    std::fprintf(stderr,
                                 "slvtool scene: %s: not a LightWave scene (the first lines "
                                 "must be \"LWSC\" and \"1\")\n",
                                 fileName);
                }
            }
            code = 1;
        } else {
            PrintSummary(fileName, archivePath, scene);
            if (renderPath != nullptr) {
                if (Render(scene, renderFrame, renderPath)) {
                    std::printf("frame %g written to %s (%dx%d, 24-bit)\n",
                                std::fmin(renderFrame, scene.lastFrame), renderPath, screen::width,
                                screen::height);
                } else {
                    code = 1;
                }
            }
        }
    }
    ArchiveRelease(nullptr);
    ToolkitShutdown();
    return code;
}
