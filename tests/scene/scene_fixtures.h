// Motion sections and a small scene for the scene tests.
#pragma once

#include "tests/geometry/lwob_builder.h"
#include "tests/support/archive_image.h"
#include "tests/support/scratch_folder.h"

#include <cstdio>
#include <string>
#include <vector>

namespace scenetest {

using lwobtest::Bytes;
using testsupport::ScratchFolder;
using testsupport::WriteWhole;

// A key as the file gives it: nine values (angles in degrees), then its fields.
struct KeyText {
    float value[9];
    int frame;
    int linear;
    float tension, continuity, bias;
};

inline std::string MotionText(const std::vector<KeyText>& keys, int endBehavior) {
    std::string text = "  9\n  " + std::to_string(keys.size()) + "\n";
    char line[256];
    for (const KeyText& k : keys) {
        const float* v = k.value;
        std::snprintf(line, sizeof line, "  %g %g %g %g %g %g %g %g %g\n  %d %d %g %g %g\n", v[0],
                      v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], k.frame, k.linear, k.tension,
                      k.continuity, k.bias);
        text += line;
    }
    return text + "EndBehavior " + std::to_string(endBehavior) + "\n";
}

// The report of a broken scene line.
inline std::string Report(long line, const char* message) {
    return "Error in module \"Scene\" at line " + std::to_string(line) + ":\n\n" + message;
}

// A key at a position with no rotation and unit scale.
inline KeyText At(int frame, float x, float y, float z) {
    return KeyText{{x, y, z, 0, 0, 0, 1, 1, 1}, frame, 0, 0, 0, 0};
}

// `objectPath`'s cube moving x -3 to +3 over frames 0 to 60, 10 before the camera, ambient 0.25.
inline std::string CubeScene(const std::string& objectPath, const std::string& extra = "") {
    return "LWSC\n1\n\nFirstFrame 0\nLastFrame 60\nFrameStep 1\n\nLoadObject " + objectPath +
           "\nObjectMotion (unnamed)\n" + MotionText({At(0, -3, 0, 0), At(60, 3, 0, 0)}, 1) +
           "\nAmbientColor 255 255 255\nAmbIntensity 0.25\n\n" + extra +
           "CameraMotion (unnamed)\n" + MotionText({At(0, 0, 0, -10)}, 1) + "\n";
}

} // namespace scenetest
