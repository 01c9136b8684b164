// slvtool scene as an author runs it: the summary, broken scenes and a rendered BMP frame.
#include "scene_fixtures.h"
#include "tests/support/tool_output.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

using scenetest::At;
using scenetest::MotionText;

namespace {

// The cube scene with a null item parented to the cube.
std::string CubeScene(const std::string& objectName) {
    return scenetest::CubeScene(objectName, "AddNullObject\nObjectMotion\n" +
                                                MotionText({At(0, 0, 0, 0)}, 1) +
                                                "ParentObject 1\n\n");
}

} // namespace

#ifdef SLVTOOL_PATH

using testsupport::RunSlvtool;

struct SceneTool : ::testing::Test {
    scenetest::ScratchFolder dir;
};

using testsupport::ExpectHas;

TEST_F(SceneTool, SummaryOfASceneInAnArchive) {
    const std::string object = "C:\\LightWave\\Objects\\Cube.lwo";
    const std::string scene = CubeScene(object);
    const scenetest::Bytes cube = lwobtest::Cube(1.0f);
    ASSERT_TRUE(scenetest::WriteWhole(dir.PathOf("slv.dat"),
                                      testsupport::ArchiveImage()
                                          .Add("scenes\\Cube.lws", scene)
                                          .Add(object, std::string(cube.begin(), cube.end()))
                                          .Build()));
    const auto run = RunSlvtool("scene 'scenes\\Cube.lws' --archive " + dir.PathOf("slv.dat"));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ExpectHas(run,
              {"frames: first 0, last 60, step 1", "items: 2 (object files: 1)",
               "1: " + object + ", parent none, 2 keys", "2: (null object), parent item 1",
               "lights: 0 (drawn with the ambient light only)", "frame 0: position (0, 0, -10)"});
}

TEST_F(SceneTool, BrokenScenesGiveTheReportAndFail) {
    ASSERT_TRUE(
        scenetest::WriteWhole(dir.PathOf("bad.lws"), std::string("LWSC\n1\n\nLastFrame x\n")));
    ASSERT_TRUE(scenetest::WriteWhole(dir.PathOf("text.txt"), std::string("hello\n")));
    const struct {
        std::string arguments;
        int exitCode;
        const char* text;
    } cases[] = {
        {dir.PathOf("bad.lws"), 1, "bad.lws:4: Unable to read LastFrame (module Scene, line 469)"},
        {dir.PathOf("text.txt"), 1, "not a LightWave scene"},
        {dir.PathOf("none.lws"), 1, ""},
        {"", 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const auto run = RunSlvtool("scene " + c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        ExpectHas(run, {c.text});
    }
}

TEST_F(SceneTool, RendersAFrameToABitmap) {
    ASSERT_TRUE(scenetest::WriteWhole(dir.PathOf("cube.lwo"), lwobtest::Cube(1.0f)));
    ASSERT_TRUE(scenetest::WriteWhole(dir.PathOf("cube.lws"), CubeScene(dir.PathOf("cube.lwo"))));
    const auto run =
        RunSlvtool("scene " + dir.PathOf("cube.lws") + " --render 30 " + dir.PathOf("out.bmp"));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string bytes = testsupport::ReadWhole(dir.PathOf("out.bmp"));
    const std::vector<uint8_t> bmp(bytes.begin(), bytes.end());
    ASSERT_EQ(bmp.size(), 54u + 640 * 480 * 3);
    // Rows bottom-up as blue, green, red; at frame 30 the unlit cube shows ambient green.
    auto pixel = [&bmp](int x, int y) { return &bmp[54 + ((479 - y) * 640 + x) * 3]; };
    EXPECT_TRUE(std::abs(pixel(320, 240)[1] - 50) <= 6 && pixel(320, 240)[2] == 0)
        << int(pixel(320, 240)[1]) << " " << int(pixel(320, 240)[2]);
    EXPECT_EQ(pixel(5, 5)[1], 0);
}

#endif
