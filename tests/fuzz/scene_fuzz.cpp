// libFuzzer harness for the scene parser and the motion reader. Every input is
// loaded as a scene (with a name table) and read as a motion section; whatever
// loads is drawn for a few frames on the headless software board. Object files
// come from a small archive made at start-up, so fuzzed names never reach the
// disk.
#include "geometry/view.h"
#include "glide/board.h"
#include "glide/glide.h"
#include "scene/line_reader.h"
#include "scene/motion.h"
#include "scene/scene.h"
#include "tests/geometry/lwob_builder.h"
#include "tests/support/archive_image.h"
#include "toolkit/archive.h"
#include "toolkit/memory.h"
#include "toolkit/report.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// Writes an archive with the objects the seeds name, each a cube, and opens it.
bool OpenObjectArchive() {
    const std::vector<std::string> names = {"cube.lwo", "objects\\knob.lwo", "objects\\track.lwo"};
    const lwobtest::Bytes cubeBytes = lwobtest::Cube(1.0f);
    const std::string cube(cubeBytes.begin(), cubeBytes.end());
    testsupport::ArchiveImage image;
    for (const std::string& name : names)
        image.Add(name, cube);
    const testsupport::Bytes archive = image.Build();
    static char path[] = "/tmp/fuzz_scene_XXXXXX";
    const int descriptor = mkstemp(path);
    if (descriptor < 0) {
        return false;
    }
    const bool written =
        write(descriptor, archive.data(), archive.size()) == static_cast<ssize_t>(archive.size());
    close(descriptor);
    // The archive's file is opened again whenever a member is read: it stays
    // until the fuzzer exits.
    std::atexit([] { unlink(path); });
    return written && ArchiveOpen(path) == names.size();
}

Scene* fuzzScene = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!ToolkitStartup() || !OpenObjectArchive()) {
        std::fprintf(stderr, "fuzz_scene: could not set up the object archive\n");
        std::abort();
    }
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
    // The board's worker threads must be stopped before static destruction,
    // and the archive released before the leak check.
    std::atexit([] {
        delete fuzzScene;
        grSstWinClose();
        grGlideShutdown();
        ArchiveRelease(nullptr);
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
        scene::TextLineSource source(text, size);
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
    const bool loaded = fuzzScene->LoadText(text, size, 640, 480, names, found);
    for (SceneItem* item : found) {
        if (item != nullptr && item->motion.keyCount > 0) {
            item->motion.keys[0].value[0] += 0.01f; // as the options screen moves a knob
        }
    }
    if (loaded || fuzzScene->itemCount > 0) {
        grBufferClear(0, 0, 0xFFFF);
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
