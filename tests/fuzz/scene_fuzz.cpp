// libFuzzer harness for the scene parser and the motion reader: whatever loads is
// drawn for a few frames on the headless board, objects coming from memory.
#include "geometry/lwob.h"
#include "geometry/view.h"
#include "glide/board.h"
#include "glide/glide.h"
#include "scene/line_reader.h"
#include "scene/motion.h"
#include "scene/scene.h"
#include "tests/geometry/lwob_builder.h"
#include "toolkit/memory.h"
#include "toolkit/report.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <vector>

namespace {

// The objects the seeds name, all the same cube, matched ignoring case as the archive does.
const char* const objectNames[] = {"cube.lwo", "objects\\knob.lwo", "objects\\track.lwo"};
std::vector<uint8_t> cubeFile;

bool LoadObjectFromMemory(Mesh& mesh, const char* name, ObjectLoadReport* report) {
    for (const char* known : objectNames) {
        if (strcasecmp(name, known) == 0) {
            return LoadObject(mesh, cubeFile.data(), cubeFile.size(), report);
        }
    }
    if (report != nullptr) {
        report->problem = ObjectProblem::OpenFailed;
    }
    return false;
}

Scene* fuzzScene = nullptr;
constexpr int16_t viewWidth = 64;
constexpr int16_t viewHeight = 48;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!ToolkitStartup()) {
        std::fprintf(stderr, "fuzz_scene: could not start the toolkit\n");
        std::abort();
    }
    cubeFile = lwobtest::Cube();
    Scene::objectFileLoader = LoadObjectFromMemory;
    nearDistance = 0.1f;
    farDistance = 100000.0f;
    // One rasteriser thread: each input's time is its own work only.
    glide::SetThreadCount(1);
    grGlideInit();
    grSstSelect(0);
    grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB,
                 GR_ORIGIN_UPPER_LEFT, 2, 1);
    grDepthBufferMode(GR_DEPTHBUFFER_WBUFFER);
    grDepthMask(FXTRUE);
    grBufferClear(0, 0, 0xFFFF);
    // The board's worker threads must be stopped before static destruction.
    std::atexit([] {
        delete fuzzScene;
        grSstWinClose();
        grGlideShutdown();
        ToolkitShutdown();
    });
    fuzzScene = new Scene();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    reportText[0] = '\0';
    Scene::surfaceTurn = 0;

    // The motion reader on its own, evaluated around and beyond its keys.
    {
        scene::MemoryText source(text, size);
        scene::LineReader lines(source);
        Motion motion;
        if (motion.Read(lines)) {
            float out[MotionChannels];
            for (double frame : {-1.0, 0.0, 0.5, 7.0, 59.5, 60.0, 150.0, 1e9}) {
                motion.Evaluate(out, frame);
            }
        }
    }

    // The scene parser, with a name table, then a few frames of whatever loaded.
    const char* names[] = {"cube.lwo", "knob.lwo", "KNOB.LWO", nullptr};
    SceneItem* found[3] = {};
    // A view of a corner of the board keeps filling pixels a small part of the time.
    const bool loaded = fuzzScene->LoadText(text, size, viewWidth, viewHeight, names, found);
    for (SceneItem* item : found) {
        if (item != nullptr && item->motion.keyCount > 0) {
            item->motion.keys[0].value[0] += 0.01f; // as the options screen moves a knob
        }
    }
    if (loaded || fuzzScene->itemCount > 0) {
        for (int frame = 0; frame < 3; ++frame) {
            fuzzScene->DrawFrame();
        }
        fuzzScene->SetCurrentFrame(fuzzScene->lastFrame + 100.0f);
        fuzzScene->SetFrameStep(2.5f);
        fuzzScene->DrawFrame();
        glide::Flush(); // this input's polygons are drawn within its own run
    }
    fuzzScene->Unload();
    return 0;
}
