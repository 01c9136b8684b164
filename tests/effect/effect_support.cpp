#include "tests/effect/effect_support.h"

#include "assets/lwob_writer.h"
#include "glide/glide.h"
#include "tests/support/show_board.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace effect_test {

namespace {

bool glideOpen = false;

// Closes the board, stopping its threads, once every test has run.
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

bool WriteSquare(const std::string& path, float half) {
    assets::LwobWriter writer("Square", 255, 255, 255);
    writer.AddPolygon({writer.AddPoint(-half, -half, 0.0f), writer.AddPoint(half, -half, 0.0f),
                       writer.AddPoint(half, half, 0.0f), writer.AddPoint(-half, half, 0.0f)});
    return assets::WriteFileBytes(path, writer.Bytes());
}

Workspace::Workspace() {
    if (folder.path.empty())
        std::abort();
    std::filesystem::current_path(folder.path);
    WriteSquare("data/Square.lwo", 1.0f);
    if (!glideOpen)
        glideOpen = testsupport::OpenShowBoard();
}

} // namespace effect_test

// Counts the program's allocations while armed.
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
// Out of line, or the compiler takes free() of new's memory for a mismatch.
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
