// slvtool scene, run as a content author runs it: the summary, the report of a
// broken scene, and a rendered frame read back from its BMP.
#include "scene_fixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

using scenetest::At;
using scenetest::MotionText;

namespace {

#ifdef SLVTOOL_PATH
// Runs slvtool with arguments; returns its exit code and fills output with
// what it printed on both streams.
int RunTool(const std::string& arguments, std::string& output) {
    const std::string command = std::string(SLVTOOL_PATH) + " " + arguments + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    output.clear();
    char buffer[512];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, read);
    }
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

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

TEST_F(SceneTool, SummaryOfASceneInAnArchive) {
    const std::string object = "C:\\LightWave\\Objects\\Cube.lwo";
    const std::string scene = CubeScene(object);
    ASSERT_TRUE(scenetest::WriteFile(
        dir.Path("slv.dat"),
        scenetest::ArchiveFile({{"scenes\\Cube.lws", scenetest::Bytes(scene.begin(), scene.end())},
                                {object, scenetest::CubeObject(1.0f)}})));
    std::string output;
    ASSERT_EQ(RunTool("scene 'scenes\\Cube.lws' --archive " + dir.Path("slv.dat"), output), 0)
        << output;
    EXPECT_NE(output.find("frames: first 0, last 60, step 1"), std::string::npos) << output;
    EXPECT_NE(output.find("items: 2 (object files: 1)"), std::string::npos) << output;
    EXPECT_NE(output.find("1: " + object + ", parent none, 2 keys"), std::string::npos) << output;
    EXPECT_NE(output.find("2: (null object), parent item 1"), std::string::npos) << output;
    EXPECT_NE(output.find("lights: 0 (drawn with the ambient light only)"), std::string::npos);
    EXPECT_NE(output.find("frame 0: position (0, 0, -10)"), std::string::npos) << output;
}

TEST_F(SceneTool, BrokenScenesGiveTheReportAndFail) {
    ASSERT_TRUE(scenetest::WriteFile(dir.Path("bad.lws"), std::string("LWSC\n1\n\nLastFrame x\n")));
    std::string output;
    EXPECT_EQ(RunTool("scene " + dir.Path("bad.lws"), output), 1);
    EXPECT_NE(output.find("bad.lws:4: Unable to read LastFrame (module Scene, line 469)"),
              std::string::npos)
        << output;

    ASSERT_TRUE(scenetest::WriteFile(dir.Path("object.lws"), CubeScene("C:\\Missing.lwo")));
    EXPECT_EQ(RunTool("scene " + dir.Path("object.lws"), output), 1);
    EXPECT_NE(output.find("Unable to load object (module Scene, line 492)"), std::string::npos)
        << output;

    ASSERT_TRUE(scenetest::WriteFile(dir.Path("text.txt"), std::string("hello\n")));
    EXPECT_EQ(RunTool("scene " + dir.Path("text.txt"), output), 1);
    EXPECT_NE(output.find("not a LightWave scene"), std::string::npos) << output;
    EXPECT_EQ(RunTool("scene " + dir.Path("none.lws"), output), 1);
    EXPECT_EQ(RunTool("scene", output), 2);
    EXPECT_EQ(RunTool("scene x.lws --render nope out.bmp", output), 2);
}

TEST_F(SceneTool, RendersAFrameToABitmap) {
    ASSERT_TRUE(scenetest::WriteFile(dir.Path("cube.lwo"), scenetest::CubeObject(1.0f)));
    ASSERT_TRUE(scenetest::WriteFile(dir.Path("cube.lws"), CubeScene(dir.Path("cube.lwo"))));
    std::string output;
    ASSERT_EQ(
        RunTool("scene " + dir.Path("cube.lws") + " --render 30 " + dir.Path("out.bmp"), output), 0)
        << output;
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
