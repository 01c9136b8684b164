// Small LightWave objects, archives and temporary folders for the scene tests:
// everything is written by the tests themselves.
#pragma once

#include "tests/geometry/lwob_builder.h"
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

inline void PutLittle(Bytes& out, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A data archive file (magic "QZF", version 256, 82-byte directory records)
// holding the given members.
inline Bytes ArchiveFile(const std::vector<std::pair<std::string, Bytes>>& members) {
    const uint32_t headerSize = 32;
    const uint32_t recordSize = 82;
    Bytes out(headerSize + recordSize * members.size(), 0);
    out[0] = 'Q';
    out[1] = 'Z';
    out[2] = 'F';
    PutLittle(out, 3, 256, 2);
    PutLittle(out, 5, static_cast<uint32_t>(members.size()), 4);
    for (size_t i = 0; i < members.size(); ++i) {
        const size_t record = headerSize + recordSize * i;
        PutLittle(out, record, static_cast<uint32_t>(members[i].second.size()), 4);
        PutLittle(out, record + 14, static_cast<uint32_t>(out.size()), 4);
        std::memcpy(&out[record + 18], members[i].first.c_str(), members[i].first.size() + 1);
        out.insert(out.end(), members[i].second.begin(), members[i].second.end());
    }
    return out;
}

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
