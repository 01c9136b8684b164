#include "bench/show_content.h"

#include "geometry/view.h"
#include "glide/glide.h"
#include "toolkit/archive.h"
#include "glide/bytes.h"
#include "toolkit/memory.h"
#include "glide/screen.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace bench {

namespace {

std::string scratch;

// A square of side 2 · half about the origin, one quadrilateral, as an LWOB file.
bool WriteSquare(const std::string& path, float half) {
    const float xy[4][2] = {{-half, -half}, {half, -half}, {half, half}, {-half, half}};
    std::vector<uint8_t> body;
    ByteWriter out(body, ByteOrder::Big);
    out.Bytes("LWOBPNTS", 8);
    out.U32(48);
    for (const auto& p : xy) {
        out.F32(p[0]);
        out.F32(p[1]);
        out.F32(0.0f);
    }
    out.Bytes("POLS", 4);
    out.U32(12);
    for (uint16_t v : {4, 0, 1, 2, 3, 1}) // four points, their indices, surface 1
        out.U16(v);
    std::vector<uint8_t> file;
    ByteWriter fileOut(file, ByteOrder::Big);
    fileOut.Bytes("FORM", 4);
    fileOut.U32(static_cast<uint32_t>(body.size()));
    fileOut.Bytes(body.data(), body.size());
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

bool OpenShow(const char* archivePath) {
    if (!ToolkitStartup()) {
        std::fprintf(stderr, "toolkit start-up failed\n");
        return false;
    }
    if (archivePath && ArchiveOpen(archivePath) > 0) {
        std::printf("content: %s\n", archivePath);
    } else {
        char pattern[] = "/tmp/solvane-bench-XXXXXX";
        if (!mkdtemp(pattern) || !WriteSquare(std::string(pattern) + "/data/Square.lwo", 0.5f) ||
            chdir(pattern) != 0) {
            std::fprintf(stderr, "no archive and no scratch folder for a square\n");
            return false;
        }
        scratch = pattern;
        std::printf("content: no archive at %s; a square of side 1 made here\n",
                    archivePath ? archivePath : "(none)");
    }
    // What the program's Glide set-up establishes before any View exists.
    showWidth = screen::width;
    showHeight = screen::height;
    nearDistance = 0.1f;
    farDistance = 100000.0f;
    grGlideInit();
    if (!grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB,
                      GR_ORIGIN_UPPER_LEFT, 2, 1)) {
        std::fprintf(stderr, "grSstWinOpen refused a headless board\n");
        return false;
    }
    return true;
}

void CloseShow() {
    grSstWinClose();
    grGlideShutdown();
    ArchiveRelease(nullptr);
    ToolkitShutdown();
    if (!scratch.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(scratch, ignored);
    }
}

} // namespace bench
