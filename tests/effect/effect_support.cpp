#include "tests/effect/effect_support.h"

#include "geometry/view.h"
#include "glide/glide.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <new>
#include <unistd.h>

namespace effect_test {

namespace {

void Put32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}
void Put16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v >> 8));
    out.push_back(static_cast<char>(v & 0xFF));
}
void PutFloat(std::string& out, float f) {
    uint32_t bits;
    static_assert(sizeof bits == sizeof f, "float is 32-bit");
    std::memcpy(&bits, &f, sizeof bits);
    Put32(out, bits);
}

bool glideOpen = false;

// Closes the board once every test has run: its drawing threads must be stopped
// before the program's exit.
class GlideEnvironment : public ::testing::Environment {
public:
    void TearDown() override {
        if (glideOpen) {
            grSstWinClose();
            grGlideShutdown();
            glideOpen = false;
        }
    }
};
const ::testing::Environment* const glideEnvironment =
    ::testing::AddGlobalTestEnvironment(new GlideEnvironment);

} // namespace

bool WriteObject(const std::string& path, const std::vector<Vector3>& points) {
    std::string pnts, pols, body;
    for (const Vector3& p : points) {
        PutFloat(pnts, p.x);
        PutFloat(pnts, p.y);
        PutFloat(pnts, p.z);
    }
    Put16(pols, static_cast<uint16_t>(points.size()));
    for (size_t i = 0; i < points.size(); ++i)
        Put16(pols, static_cast<uint16_t>(i));
    Put16(pols, 1);
    body = "LWOB";
    body += "PNTS";
    Put32(body, static_cast<uint32_t>(pnts.size()));
    body += pnts;
    body += "POLS";
    Put32(body, static_cast<uint32_t>(pols.size()));
    body += pols;
    std::string file = "FORM";
    Put32(file, static_cast<uint32_t>(body.size()));
    file += body;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<Vector3> Square(float half) {
    return {{-half, -half, 0.0f}, {half, -half, 0.0f}, {half, half, 0.0f}, {-half, half, 0.0f}};
}

Workspace::Workspace() {
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer))
        previous = buffer;
    char pattern[] = "/tmp/solvane-effect-XXXXXX";
    const char* made = mkdtemp(pattern);
    path = made ? made : "/tmp";
    WriteObject(path + "/data/Square.lwo", Square(1.0f));
    if (chdir(path.c_str()) != 0)
        std::abort();

    showWidth = 640;
    showHeight = 480;
    nearDistance = 0.1f;
    farDistance = 100000.0f;
    if (!glideOpen) {
        grGlideInit();
        grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB,
                     GR_ORIGIN_UPPER_LEFT, 2, 1);
        glideOpen = true;
    }
}

Workspace::~Workspace() {
    if (!previous.empty() && chdir(previous.c_str()) != 0)
        std::abort();
    std::error_code ignored;
    if (path != "/tmp")
        std::filesystem::remove_all(path, ignored);
}

bool Workspace::WriteText(const std::string& relative, const std::string& text) {
    const std::filesystem::path full = std::filesystem::path(path) / relative;
    std::filesystem::create_directories(full.parent_path());
    FILE* f = std::fopen(full.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace effect_test

// Counts allocations while armed, to show that a frame allocates nothing. Every
// allocation of the test program passes through here.
namespace {
std::atomic<bool> countAllocations{false};
std::atomic<long> allocations{0};
} // namespace

void* operator new(std::size_t size) {
    if (countAllocations)
        ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (countAllocations)
        ++allocations;
    return std::malloc(size ? size : 1);
}
// Kept out of line: inlined into a delete expression, free() on memory from a
// new expression looks mismatched to the compiler although both ends are ours.
#if defined(__GNUC__)
#define SOLVANE_OUT_OF_LINE __attribute__((noinline))
#else
#define SOLVANE_OUT_OF_LINE
#endif
SOLVANE_OUT_OF_LINE void operator delete(void* p) noexcept {
    std::free(p);
}
SOLVANE_OUT_OF_LINE void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace effect_test {

long AllocationsDuring(const std::function<void()>& work) {
    allocations = 0;
    countAllocations = true;
    work();
    countAllocations = false;
    return allocations.load();
}

} // namespace effect_test
