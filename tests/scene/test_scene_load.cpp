// Loading scenes: items, lights, camera, the name table, broken files and LightWave's own.
#include "scene/scene.h"
#include "scene_fixtures.h"
#include "toolkit/report.h"

#include <gtest/gtest.h>

#include <string>

using scenetest::At;
using scenetest::MotionText;

namespace {

class SceneLoad : public ::testing::Test {
protected:
    void SetUp() override {
        cube = dir.path.string() + "\\cube.lwo";
        ball = dir.path.string() + "\\ball.lwo";
        ASSERT_TRUE(scenetest::WriteWhole(dir.PathOf("cube.lwo"), lwobtest::Cube(1.0f)));
        ASSERT_TRUE(scenetest::WriteWhole(dir.PathOf("ball.lwo"), lwobtest::Cube(0.5f)));
        reportText[0] = '\0';
    }

    bool Load(const std::string& body, const char* const* names = nullptr,
              SceneItem** found = nullptr) {
        const std::string text = "LWSC\n1\n\n" + body;
        return scene.LoadText(text.data(), text.size(), 640, 480, names, found);
    }

    std::string Object(const std::string& path, const std::string& extra = "") {
        return "LoadObject " + path + "\nObjectMotion (unnamed)\n" +
               MotionText({At(0, 1, 2, 3)}, 1) + extra + "\n";
    }

    scenetest::ScratchFolder dir;
    std::string cube, ball;
    Scene scene;
};

} // namespace

// Items advance the default surface turn, then take red, green, blue, blue in turn.
TEST_F(SceneLoad, ItemsLightsSharedObjectsAndSurfaces) {
    Scene::surfaceTurn = 0;
    ASSERT_TRUE(Load("FirstFrame 5\nLastFrame 60\nFrameStep 2\n\n" + Object(cube) + Object(ball) +
                     Object(cube) + "AddNullObject\nObjectMotion (unnamed)\n" +
                     MotionText({At(0, 7, 8, 9)}, 1) + "\nAddLight\n\n"));
    EXPECT_TRUE(scene.currentFrame == 5 && scene.lastFrame == 60 && scene.frameStep == 2);
    ASSERT_EQ(scene.itemCount, 4);
    EXPECT_EQ(scene.loadedObjects.size(), 2u);
    EXPECT_TRUE(scene.items[0]->mesh == scene.items[2]->mesh &&
                scene.items[0]->mesh != scene.items[1]->mesh && scene.items[3]->mesh == nullptr);
    EXPECT_EQ(scene.items[3]->object.GetPosition().z, 9.0f);
    EXPECT_EQ(scene.lightCount, 1);
    const int surfaces[4] = {2, 3, 3, 1};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(scene.items[i]->object.surface, &scene.defaultSurfaces[surfaces[i]]) << i;
}

TEST_F(SceneLoad, EveryBrokenLineGivesItsReport) {
    const std::string motionBroken = "  9\n  1\n  0 0\n  0 0 0 0 0\nEndBehavior 1\n";
    // 254 items (half of them objects) and 254 lights fit.
    std::string items, lights;
    for (int i = 0; i < 254; ++i) {
        items += i % 2 == 0 ? "AddNullObject\n\n" : "LoadObject " + cube + "\n\n";
        lights += "AddLight\n\n";
    }
    ASSERT_TRUE(Load(items));
    EXPECT_EQ(scene.itemCount, 254);
    ASSERT_TRUE(Load(lights));
    EXPECT_EQ(scene.lightCount, 254);

    struct Case {
        std::string body;
        long line;
        const char* message;
    };
    const Case cases[] = {
        {"FirstFrame one\n", 465, "Unable to read FirstFrame"},
        {"LastFrame x\n", 469, "Unable to read LastFrame"},
        {"FrameStep -\n", 472, "Unable to read FrameStep"},
        {"LoadObject\n", 491, "Unable to read object name"},
        {"LoadObject " + dir.path.string() + "\\missing.lwo\n", 492, "Unable to load object"},
        {"LoadObject " + std::string(120, 'n') + "\n", 492, "Unable to load object"},
        {"AddNullObject\nObjectMotion\n" + motionBroken, 510, "Unable to read object motion"},
        {"AmbientColor red\n", 516, "Unable to read ambient colour"},
        {"AmbIntensity high\n", 519, "Unable to read ambient intensity"},
        {"AddLight\nLightMotion\n" + motionBroken, 531, "Unable to read light motion"},
        {"LightColor white\n", 534, "Unable to read light colour"},
        {"LgtIntensity (envelope)\n", 537, "Unable to read light intensity"},
        {"CameraMotion\n" + motionBroken, 543, "Unable to read camera motion"},
        {"TargetObject first\n", 547, "Unable to read TargetObject"},
        {"ParentObject x\n", 553, "Unable to read ObjectParent"},
        {items + "AddNullObject\n\n", 481, "To many objects in scene"},
        {items + "LoadObject " + ball + "\n\n", 481, "To many objects in scene"},
        {lights + "AddLight\n\n", 525, "To many lights in scene"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body.substr(0, 60));
        reportText[0] = '\0';
        EXPECT_FALSE(Load("FirstFrame 0\n" + c.body + "LastFrame 10\n"));
        EXPECT_EQ(reportText, scenetest::Report(c.line, c.message));
        // Parsing stopped at the broken line.
        EXPECT_EQ(scene.lastFrame, 0.0f);
    }
    EXPECT_EQ(scene.lightCount, 254);
}

// Channels are (component & 255) × intensity / 256; one colour and intensity pair is shared
// by every block, so a block without its own line uses the value read last.
TEST_F(SceneLoad, ColoursKeepTheirLowBitsAndCarryOverFromBlockToBlock) {
    ASSERT_TRUE(Load("AmbientColor 64 128 32\nAmbIntensity 0.5\n\n"
                     "AddLight\n\n"                         // both from the ambient block
                     "AddLight\nLgtIntensity 2\n\n"         // the ambient colour, twice as bright
                     "AddLight\nLightColor 512 300 511\n\n" // 0 44 255, intensity 2 as before
                     "AmbientColor 256 257 50\n\n"));       // 0 1 50, intensity 2 again
    ASSERT_EQ(scene.lightCount, 3);
    const float expected[3][3] = {{32, 64, 16}, {128, 256, 64}, {0, 88, 510}};
    for (int l = 0; l < 3; ++l)
        for (int c = 0; c < 3; ++c)
            EXPECT_FLOAT_EQ(scene.lights[l]->colour[c], expected[l][c] / 256) << l << " " << c;
    EXPECT_TRUE(scene.ambient[0] == 0 && scene.ambient[1] == 2.0f / 256 &&
                scene.ambient[2] == 100.0f / 256);
}

TEST_F(SceneLoad, NotASceneFailsWithoutReport) {
    for (const char* text : {"", "LWOB\n1\n", "LWSC\n2\n", "LWSC\n"})
        EXPECT_FALSE(scene.LoadText(text, std::strlen(text), 640, 480, nullptr, nullptr)) << text;
    EXPECT_FALSE(scene.Load((dir.path.string() + "/none.lws").c_str(), 640, 480, nullptr, nullptr));
    EXPECT_STREQ(reportText, "");
}

TEST_F(SceneLoad, TheNameTable) {
    SceneItem* found[3] = {};
    const char* twice[] = {"CUBE.LWO", "ball.lwo", "Cube.lwo", nullptr};
    ASSERT_TRUE(Load(Object(ball) + Object(cube), twice, found));
    EXPECT_TRUE(found[0] == scene.items[1] && found[1] == scene.items[0] &&
                found[2] == scene.items[1]);

    // A name that is missing, or whose object appears twice, fails without a report.
    const char* pair[] = {"cube.lwo", "ball.lwo", nullptr};
    EXPECT_FALSE(Load(Object(cube), pair, found));
    EXPECT_EQ(found[1], nullptr);
    EXPECT_FALSE(Load(Object(cube) + Object(cube) + Object(ball), pair, found));
    EXPECT_STREQ(reportText, "");
    // The base name follows the last backslash only.
    const char* whole[] = {"dir\\cube.lwo", nullptr};
    EXPECT_FALSE(Load(Object(cube), whole, found));

    // An object block that never ends is not in the scene, but its slot stays valid.
    ASSERT_TRUE(Load(Object(cube) + "LoadObject " + ball + "\nParentObject 1", pair, found));
    EXPECT_TRUE(scene.itemCount == 1 && found[0] == scene.items[0]);
    ASSERT_NE(found[1], nullptr);
    EXPECT_TRUE(scene.IndexOf(found[1]) == -1 && found[1]->mesh->pointCount == 8);
}

TEST_F(SceneLoad, ParentsAndTargetsAreJudgedWhenTheFileIsRead) {
    const std::string body =
        Object(cube, "ParentObject 3\n") +                // a parent later in the file
        Object(cube, "ParentObject 99\n") +               // no such item
        Object(cube) + Object(cube, "ParentObject 5\n") + // a loop of two
        Object(cube, "ParentObject 4\n") + Object(cube, "ParentObject 6\n") + // its own parent
        "AddLight\nParentObject 2\n\nAddLight\nParentObject -4\n\n"
        "CameraMotion\n" +
        MotionText({At(0, 0, 0, -5)}, 1) + "ParentObject 3\nTargetObject 6\n\n";
    ASSERT_TRUE(Load(body));
    ASSERT_EQ(scene.itemCount, 6);
    const int parents[6] = {2, -1, -1, -1 /* the link that closed the loop */, 3, -1};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(scene.items[i]->parent, parents[i]) << i;
    EXPECT_TRUE(scene.lights[0]->parent == 1 && scene.lights[1]->parent == -1);
    EXPECT_EQ(scene.cameraParent, 2);
    EXPECT_EQ(scene.view.target, &scene.items[5]->object);

    ASSERT_TRUE(Load(Object(cube) + "CameraMotion\n" + MotionText({At(0, 0, 0, -5)}, 1) +
                     "ParentObject -2147483648\nTargetObject -2147483648\n\n"));
    EXPECT_EQ(scene.cameraParent, -1);
    EXPECT_EQ(scene.view.target, nullptr);
}

TEST_F(SceneLoad, ReloadingAndUnloadingFreeEverything) {
    const std::string body = Object(cube) + "AddLight\n\nCameraMotion\n" +
                             MotionText({At(0, 0, 0, -5)}, 1) + "TargetObject 1\n\n";
    ASSERT_TRUE(Load(body));
    ASSERT_TRUE(Load(body + Object(ball)));
    EXPECT_TRUE(scene.Unload());
    EXPECT_TRUE(scene.itemCount == 0 && scene.lightCount == 0 && scene.loadedObjects.empty() &&
                scene.cameraMotion.keys == nullptr && scene.view.target == nullptr);
    EXPECT_TRUE(scene.Unload());
}

// A scene as LightWave 5 writes it: Windows line ends, envelopes, plug-in and display lines.
TEST_F(SceneLoad, LoadsASceneAsLightWaveWritesIt) {
    const std::string body =
        "FirstFrame 1\r\nLastFrame 60\r\nFrameStep 1\r\n\r\nLoadObject " + ball +
        "\r\nShowObject 6 7\r\nObjectMotion (unnamed)\r\n  9\r\n  2\r\n  0 0.5 0 90 0 0 1 1 1\r\n"
        "  0 0 0.0 0.0 0.0\r\n  1 0.5 0 0 0 0 1 1 1\r\n  60 0 0.0 0.0 0.0\r\nEndBehavior 1\r\n"
        "ObjDissolve (envelope)\r\n  1\r\n  1\r\n  0.5\r\n  0 0 0.0 0.0 0.0\r\n"
        "EndBehavior 1\r\nShadowOptions 7\r\n\r\nLoadObject " +
        cube +
        "\r\nObjectMotion (unnamed)\r\n"
        "  9\r\n  1\r\n  0 0 0 0 0 0 1 1 1\r\n  0 0 0.0 0.0 0.0\r\nEndBehavior 1\r\n"
        "ParentObject 1\r\nObjPolygonSize 100\r\nShadowOptions 7\r\n\r\n"
        "AmbientColor 255 255 255\r\nAmbIntensity 0.250000\r\n\r\n"
        "AddLight\r\nLightName Light\r\nShowLight 0 7\r\nLightMotion (unnamed)\r\n  9\r\n"
        "  1\r\n  -2 2 -2 45 35 0 1 1 1\r\n  0 0 0.0 0.0 0.0\r\nEndBehavior 1\r\n"
        "LightColor 255 240 200\r\nLgtIntensity 1.000000\r\nLightType 0\r\n"
        "Plugin LightHandler 1 DistantLight\r\nEndPlugin\r\n\r\nShowCamera 1 2\r\n"
        "CameraMotion (unnamed)\r\n  9\r\n  1\r\n  0 0 -10 0 0 0 1 1 1\r\n  0 0 0.0 0.0 0.0\r\n"
        "EndBehavior 1\r\nZoomFactor 3.200000\r\nResolution 1\r\n\r\nGridSize 1.000000\r\n";
    const char* names[] = {"cube.lwo", "ball.lwo", nullptr};
    SceneItem* found[2] = {};
    ASSERT_TRUE(Load(body, names, found));
    EXPECT_TRUE(scene.firstFrame == 1 && scene.lastFrame == 60);
    ASSERT_EQ(scene.itemCount, 2);
    EXPECT_TRUE(found[0] == scene.items[1] && found[1] == scene.items[0]);
    EXPECT_TRUE(found[0]->parent == 0 && scene.items[0]->motion.keyCount == 2);
    ASSERT_EQ(scene.lightCount, 1);
    EXPECT_FLOAT_EQ(scene.lights[0]->colour[1], 240.0f / 256);
    EXPECT_EQ(scene.view.camera.GetPosition().z, -10.0f);
}
