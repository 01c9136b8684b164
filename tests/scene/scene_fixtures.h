// Small LightWave objects, archives and temporary folders for the scene tests:
// everything is written by the tests themselves.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace scenetest {

using Bytes = std::vector<uint8_t>;

inline void PutBig32(Bytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

inline void PutBig16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

inline void PutLittle(Bytes& out, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// An axis-aligned cube of six quadrilaterals centred on the origin, as a
// FORM/LWOB file.
inline Bytes CubeObject(float half) {
    const float corners[8][3] = {{-half, -half, -half}, {half, -half, -half}, {half, half, -half},
                                 {-half, half, -half},  {-half, -half, half}, {half, -half, half},
                                 {half, half, half},    {-half, half, half}};
    // Clockwise seen from outside, as LightWave writes them: outward normals.
    const uint16_t faces[6][4] = {{3, 2, 1, 0}, {6, 7, 4, 5}, {7, 3, 0, 4},
                                  {2, 6, 5, 1}, {7, 6, 2, 3}, {0, 1, 5, 4}};
    Bytes points;
    for (const auto& corner : corners) {
        for (float value : corner) {
            uint32_t bits;
            std::memcpy(&bits, &value, sizeof bits);
            PutBig32(points, bits);
        }
    }
    Bytes polygons;
    for (const auto& face : faces) {
        PutBig16(polygons, 4);
        for (uint16_t index : face) {
            PutBig16(polygons, index);
        }
        PutBig16(polygons, 1);
    }
    Bytes body;
    for (char c : std::string("LWOB")) {
        body.push_back(static_cast<uint8_t>(c));
    }
    for (auto chunk : {std::make_pair("PNTS", &points), std::make_pair("POLS", &polygons)}) {
        body.insert(body.end(), chunk.first, chunk.first + 4);
        PutBig32(body, static_cast<uint32_t>(chunk.second->size()));
        body.insert(body.end(), chunk.second->begin(), chunk.second->end());
    }
    Bytes file = {'F', 'O', 'R', 'M'};
    PutBig32(file, static_cast<uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
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

inline bool WriteFile(const std::string& path, const void* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

inline bool WriteFile(const std::string& path, const Bytes& bytes) {
    return WriteFile(path, bytes.data(), bytes.size());
}

inline bool WriteFile(const std::string& path, const std::string& text) {
    return WriteFile(path, text.data(), text.size());
}

// A fresh folder under the system's temporary folder, removed with its files.
class TempDir {
public:
    TempDir() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/scenetest.XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data()) != nullptr) {
            path = buffer.data();
        }
    }
    ~TempDir() {
        if (!path.empty()) {
            std::string command = "rm -rf '" + path + "'";
            if (std::system(command.c_str()) != 0) {
                std::fprintf(stderr, "could not remove %s\n", path.c_str());
            }
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path(const std::string& name) const { return path + "/" + name; }

    std::string path;
};

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
