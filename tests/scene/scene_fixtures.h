// Motion sections for the scene tests, beside the shared LightWave objects,
// archive images and temporary folders: everything is written by the tests.
#pragma once

#include "tests/geometry/lwob_builder.h"
#include "tests/support/archive_image.h"
#include "tests/support/slvtool_run.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace scenetest {

using lwobtest::Bytes;
using testsupport::TempDir;
using testsupport::WriteFile;

// One motion section with nine channels, keys given as nine file values
// (angles in degrees) and frame/linear/tension/continuity/bias.
struct KeyText {
    float value[9];
    int frame;
    int linear;
    float tension, continuity, bias;
};

inline std::string MotionText(const std::vector<KeyText>& keys, int endBehavior) {
    std::string text = "  9\n  " + std::to_string(keys.size()) + "\n";
    char line[256];
    for (const KeyText& key : keys) {
        std::snprintf(line, sizeof line, "  %g %g %g %g %g %g %g %g %g\n", key.value[0],
                      key.value[1], key.value[2], key.value[3], key.value[4], key.value[5],
                      key.value[6], key.value[7], key.value[8]);
        text += line;
        std::snprintf(line, sizeof line, "  %d %d %g %g %g\n", key.frame, key.linear, key.tension,
                      key.continuity, key.bias);
        text += line;
    }
    return text + "EndBehavior " + std::to_string(endBehavior) + "\n";
}

// A key at a position with no rotation and unit scale.
inline KeyText At(int frame, float x, float y, float z) {
    return KeyText{{x, y, z, 0, 0, 0, 1, 1, 1}, frame, 0, 0, 0, 0};
}

} // namespace scenetest
