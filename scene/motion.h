// Keyframed motions of scene items, lights and the camera: reading the motion
// section of scene text and evaluating it at any frame. Knows nothing of items,
// matrices or drawing.
#pragma once

#include <cstdint>

namespace scene {
class LineReader;
}

// Channels of a key, in this order: x, y, z position (scene units); heading,
// pitch, bank (radians, sign inverted from the file's degrees); scale x, y, z.
constexpr int MotionChannels = 9;

struct MotionKey {
    float value[MotionChannels];
    float tension;    // LightWave tension, normally -1..1
    float continuity; // LightWave continuity
    float bias;       // LightWave bias
    int32_t linear;   // non-zero: the segment that ends at this key is linear
    int32_t frame;    // frame number of the key
};

class Motion {
public:
    // The largest key count a motion may declare; larger counts are refused
    // before anything is allocated.
    static constexpr int32_t MaxKeys = 100000;

    MotionKey* keys = nullptr; // keyCount keys in file order; null when not read or empty
    int32_t endBehavior = 0;   // past the last key: 0 reset, 1 stop, anything else repeat
    int32_t channelCount = 0;  // as the file gives it (9 in every file the show reads)
    int32_t keyCount = 0;
    int32_t lastKeyFrame = 0; // the largest key frame read, never below 0

    Motion() = default;
    ~Motion() { Release(); }
    Motion(const Motion&) = delete;
    Motion& operator=(const Motion&) = delete;

    // Reads a motion section from the line after its keyword line: channel
    // count, key count, two lines per key, "EndBehavior". Any keys held before
    // are freed first. Returns false (with no keys held) when the section is
    // malformed or ends early; the caller reports it.
    bool Read(scene::LineReader& lines);

    // Writes the nine channel values at `frame` into out (room for nine floats;
    // never more is written, whatever the channel count). A motion without keys
    // gives all zeros.
    void Evaluate(float* out, double frame) const;

    // Frees the keys and makes the motion fresh (all zero).
    void Release();
};
