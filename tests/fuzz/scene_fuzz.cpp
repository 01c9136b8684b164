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
#include "shell/report.h"
#include "toolkit/archive.h"
#include "toolkit/memory.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

void PutBig(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

void PutLittle(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// A unit cube as a FORM/LWOB file.
std::vector<uint8_t> Cube() {
    static const float corners[8][3] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                                        {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    static const uint16_t faces[6][4] = {{3, 2, 1, 0}, {6, 7, 4, 5}, {7, 3, 0, 4},
                                         {2, 6, 5, 1}, {7, 6, 2, 3}, {0, 1, 5, 4}};
    std::vector<uint8_t> body = {'L', 'W', 'O', 'B', 'P', 'N', 'T', 'S'};
    PutBig(body, 8 * 12, 4);
    for (const auto& corner : corners) {
        for (float value : corner) {
            uint32_t bits;
            std::memcpy(&bits, &value, sizeof bits);
            PutBig(body, bits, 4);
        }
    }
    body.insert(body.end(), {'P', 'O', 'L', 'S'});
    PutBig(body, 6 * 12, 4);
    for (const auto& face : faces) {
        PutBig(body, 4, 2);
        for (uint16_t index : face) {
            PutBig(body, index, 2);
        }
        PutBig(body, 1, 2);
    }
    std::vector<uint8_t> file = {'F', 'O', 'R', 'M'};
    PutBig(file, static_cast<uint32_t>(body.size()), 4);
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

// Writes an archive with the objects the seeds name and opens it.
bool OpenObjectArchive() {
    const std::vector<std::string> names = {"cube.lwo", "objects\\knob.lwo", "objects\\track.lwo"};
    const std::vector<uint8_t> cube = Cube();
    std::vector<uint8_t> archive(32 + 82 * names.size(), 0);
    std::memcpy(archive.data(), "QZF", 3);
    PutLittle(archive, 3, 256, 2);
    PutLittle(archive, 5, static_cast<uint32_t>(names.size()), 4);
    for (size_t i = 0; i < names.size(); ++i) {
        const size_t record = 32 + 82 * i;
        PutLittle(archive, record, static_cast<uint32_t>(cube.size()), 4);
        PutLittle(archive, record + 14, static_cast<uint32_t>(archive.size()), 4);
        std::memcpy(&archive[record + 18], names[i].c_str(), names[i].size() + 1);
        archive.insert(archive.end(), cube.begin(), cube.end());
    }
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
