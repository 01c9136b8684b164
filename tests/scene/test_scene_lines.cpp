// Scene lines: zero bytes, memory, disk and archive reads agreeing, and files cut short.
#include "scene/scene.h"
#include "scene_fixtures.h"
#include "toolkit/archive.h"
#include "toolkit/memory.h"
#include "toolkit/report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

using namespace std::string_literals;

namespace {

// What one load gave: loaded, the report, the item count and the last frame.
using Outcome = std::tuple<bool, std::string, int32_t, float>;

class SceneLines : public ::testing::Test {
protected:
    void SetUp() override {
        cube = dir.path.string() + "\\cube.lwo";
        const scenetest::Bytes bytes = lwobtest::Cube(1.0f);
        cubeBytes.assign(bytes.begin(), bytes.end());
        ASSERT_TRUE(scenetest::WriteWhole(dir.PathOf("cube.lwo"), cubeBytes));
        reportText[0] = '\0';
    }

    static Outcome Of(bool loaded, const Scene& scene) {
        const Outcome outcome{loaded, reportText, scene.itemCount, scene.lastFrame};
        reportText[0] = '\0';
        return outcome;
    }

    // Loads text from memory, a disk file and an archive member; all three must agree.
    Outcome LoadEveryWay(const std::string& text) {
        Scene fromMemory, fromDisk, fromArchive;
        const Outcome memory = Of(
            fromMemory.LoadText(text.data(), text.size(), 640, 480, nullptr, nullptr), fromMemory);
        EXPECT_TRUE(scenetest::WriteWhole(dir.PathOf("scene.lws"), text));
        const std::string diskName = dir.path.string() + "\\scene.lws";
        EXPECT_EQ(Of(fromDisk.Load(diskName.c_str(), 640, 480, nullptr, nullptr), fromDisk), memory)
            << "from a disk file";
        const std::string archivePath = dir.PathOf("slv.dat");
        EXPECT_TRUE(scenetest::WriteWhole(
            archivePath,
            testsupport::ArchiveImage().Add("scene.lws", text).Add(cube, cubeBytes).Build()));
        EXPECT_TRUE(ToolkitStartup());
        EXPECT_EQ(ArchiveOpen(archivePath.c_str()), 2u);
        EXPECT_EQ(Of(fromArchive.Load("scene.lws", 640, 480, nullptr, nullptr), fromArchive),
                  memory)
            << "from an archive member";
        ArchiveRelease(nullptr);
        ToolkitShutdown();
        return memory;
    }

    scenetest::ScratchFolder dir;
    std::string cube;
    std::string cubeBytes;
};

} // namespace

// A zero byte ends neither its line nor the file: it is a character no keyword or number holds.
TEST_F(SceneLines, AZeroByteIsACharacterOfItsLine) {
    const std::string head = "LWSC\n1\n\nFirstFrame 0\n";
    const std::string longLine =
        "Comment " + std::string(1000, '-') + "\0FirstFrame oops"s + std::string(100, '-') + "\n";
    const struct {
        const char* what;
        std::string body;
        Outcome expected;
    } cases[] = {
        {"a zero byte where a number should start is unreadable",
         "LastFrame \0 5\n"s,
         {false, scenetest::Report(469, "Unable to read LastFrame"), 0, 0.0f}},
        {"a name holding a zero byte names no object",
         "LoadObject " + cube + "\0x\n\n"s,
         {false, scenetest::Report(492, "Unable to load object"), 0, 0.0f}},
        {"the tail of a long line after a zero byte is skipped; the next line counts",
         longLine + "LastFrame 9\n",
         {true, "", 0, 9.0f}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LoadEveryWay(head + c.body), c.expected);
    }
}

// An archive cut short after opening: a scene not read to its end is not loaded.
TEST_F(SceneLines, ASceneThatCannotBeReadToItsEndDoesNotLoad) {
    const std::string text =
        "LWSC\n1\n\nFirstFrame 0\n" + std::string(6000, '\n') + "LastFrame x\n";
    const std::string archivePath = dir.PathOf("slv.dat");
    ASSERT_TRUE(scenetest::WriteWhole(archivePath,
                                      testsupport::ArchiveImage().Add("scene.lws", text).Build()));
    ASSERT_TRUE(ToolkitStartup());
    ASSERT_EQ(ArchiveOpen(archivePath.c_str()), 1u);
    std::filesystem::resize_file(archivePath, std::filesystem::file_size(archivePath) - 100);
    Scene scene;
    EXPECT_EQ(Of(scene.Load("scene.lws", 640, 480, nullptr, nullptr), scene),
              Outcome(false, "", 0, 0.0f));
    ArchiveRelease(nullptr);
    ToolkitShutdown();
}
