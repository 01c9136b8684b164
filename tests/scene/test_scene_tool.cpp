// slvtool scene, run as a content author runs it: the summary, the report of a
// broken scene, and a rendered frame read back from its BMP.
#include "scene_fixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>

using scenetest::At;
using scenetest::MotionText;

namespace {

std::string CubeScene(const std::string& objectName) {
    return "LWSC\r\n1\r\n\r\nFirstFrame 0\r\nLastFrame 60\r\nFrameStep 1\r\n\r\n"
           "LoadObject " +
           objectName + "\r\nObjectMotion (unnamed)\r\n" +
           MotionText({At(0, -3, 0, 0), At(60, 3, 0, 0)}, 1) +
           "\r\nAddNullObject\r\nObjectMotion\r\n" + MotionText({At(0, 0, 0, 0)}, 1) +
           "ParentObject 1\r\n\r\nAmbientColor 255 255 255\r\nAmbIntensity 0.25\r\n\r\n"
           "CameraMotion (unnamed)\r\n" +
           MotionText({At(0, 0, 0, -10)}, 1) + "\r\n";
}

} // namespace

class SceneTool : public ::testing::Test {
protected:
    void SetUp() override {
#ifndef SLVTOOL_PATH
        GTEST_SKIP() << "slvtool is not built";
#endif
        ASSERT_FALSE(dir.path.empty());
    }
    scenetest::TempDir dir;
};

#ifdef SLVTOOL_PATH

using testsupport::RunSlvtool;

// Every text must be in the run's output.
void ExpectHas(const testsupport::ToolRun& run, std::initializer_list<std::string> texts) {
    for (const std::string& text : texts)
        EXPECT_NE(run.output.find(text), std::string::npos) << "missing \"" << text << "\" in:\n"
                                                            << run.output;
}

TEST_F(SceneTool, SummaryOfASceneInAnArchive) {
    const std::string object = "C:\\LightWave\\Objects\\Cube.lwo";
    const std::string scene = CubeScene(object);
    const scenetest::Bytes cube = lwobtest::Cube(1.0f);
    ASSERT_TRUE(scenetest::WriteFile(dir.Path("slv.dat"),
                                     testsupport::ArchiveImage()
                                         .Add("scenes\\Cube.lws", scene)
                                         .Add(object, std::string(cube.begin(), cube.end()))
                                         .Build()));
    const auto run = RunSlvtool("scene 'scenes\\Cube.lws' --archive " + dir.Path("slv.dat"));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    ExpectHas(run,
              {"frames: first 0, last 60, step 1", "items: 2 (object files: 1)",
               "1: " + object + ", parent none, 2 keys", "2: (null object), parent item 1",
               "lights: 0 (drawn with the ambient light only)", "frame 0: position (0, 0, -10)"});
}

TEST_F(SceneTool, BrokenScenesGiveTheReportAndFail) {
    ASSERT_TRUE(scenetest::WriteFile(dir.Path("bad.lws"), std::string("LWSC\n1\n\nLastFrame x\n")));
    ASSERT_TRUE(scenetest::WriteFile(dir.Path("object.lws"), CubeScene("C:\\Missing.lwo")));
    ASSERT_TRUE(scenetest::WriteFile(dir.Path("text.txt"), std::string("hello\n")));
    const struct {
        std::string arguments;
        int exitCode;
        const char* text;
    } cases[] = {
        {dir.Path("bad.lws"), 1, "bad.lws:4: Unable to read LastFrame (module Scene, line 469)"},
        {dir.Path("object.lws"), 1, "Unable to load object (module Scene, line 492)"},
        {dir.Path("text.txt"), 1, "not a LightWave scene"},
        {dir.Path("none.lws"), 1, ""},
        {"", 2, ""},
        {"x.lws --render nope out.bmp", 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const auto run = RunSlvtool("scene " + c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        ExpectHas(run, {c.text});
    }
}

TEST_F(SceneTool, RendersAFrameToABitmap) {
    ASSERT_TRUE(scenetest::WriteFile(dir.Path("cube.lwo"), lwobtest::Cube(1.0f)));
    ASSERT_TRUE(scenetest::WriteFile(dir.Path("cube.lws"), CubeScene(dir.Path("cube.lwo"))));
    const auto run =
        RunSlvtool("scene " + dir.Path("cube.lws") + " --render 30 " + dir.Path("out.bmp"));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::FILE* file = std::fopen(dir.Path("out.bmp").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::vector<uint8_t> bmp(54 + 640 * 480 * 3 + 1);
    const size_t size = std::fread(bmp.data(), 1, bmp.size(), file);
    std::fclose(file);
    ASSERT_EQ(size, 54u + 640 * 480 * 3);
    auto little = [&bmp](size_t at) {
        return bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 | bmp[at + 3] << 24;
    };
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(little(18), 640);
    EXPECT_EQ(little(22), 480);
    EXPECT_EQ(bmp[28], 24);
    // Rows are stored bottom-up as blue, green, red. At frame 30 the cube's
    // front face covers the centre; without lights it shows the ambient green.
    auto pixel = [&bmp](int x, int y) { return &bmp[54 + ((479 - y) * 640 + x) * 3]; };
    EXPECT_NEAR(pixel(320, 240)[1], 50, 6);
    EXPECT_EQ(pixel(320, 240)[2], 0);
    EXPECT_EQ(pixel(5, 5)[1], 0);
}

#endif
