#include "scene/motion.h"

#include "scene/line_reader.h"
#include "scene/text_scan.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <new>
#include <string_view>

namespace {

// Degrees to radians with the sign inverted: -pi / 180 with pi rounded to a
// 32-bit float first. Objects and the view take the stored angles as they are.
constexpr double NegativeDegreesToRadians = -0.017453293005625408;

// Number lines are indented by two spaces in LightWave files; the scan starts
// after them (a line without the indent loses its first two characters).
std::string_view AfterIndent(const char* line, int length) {
    const int indent = length < 2 ? length : 2;
    return std::string_view(line + indent, static_cast<size_t>(length - indent));
}

// Stores a double as a float without leaving the float range.
float ToFloat(double value) {
    if (value > FLT_MAX) {
        return FLT_MAX;
    }
    if (value < -FLT_MAX) {
        return -FLT_MAX;
    }
    return static_cast<float>(value);
}

void CopyKey(const MotionKey& key, float* out) {
    for (int i = 0; i < MotionChannels; ++i) {
        out[i] = key.value[i];
    }
}

} // namespace

void Motion::Release() {
    delete[] keys;
    keys = nullptr;
    endBehavior = 0;
    channelCount = 0;
    keyCount = 0;
    lastKeyFrame = 0;
}

bool Motion::Read(scene::LineReader& lines) {
    Release();
    char line[scene::LineBufferSize];

    // Channel count, then key count: a line that is empty keeps the value as it
    // was; a line that does not start with a number fails at once.
    int32_t counts[2] = {0, 0};
    for (int32_t& count : counts) {
        const int length = lines.Next(line);
        if (length == 0) {
            return false;
        }
        if (scene::ScanIntegers(AfterIndent(line, length), &count, 1) == 0) {
            return false;
        }
    }
    channelCount = counts[0];
    if (counts[1] < 0 || counts[1] > MaxKeys) {
        return false;
    }
    keyCount = counts[1];
    if (keyCount > 0) {
        keys = new (std::nothrow) MotionKey[keyCount]();
        if (keys == nullptr) {
            keyCount = 0;
            return false;
        }
    }

    // A malformed key line marks the motion failed, but the section is still
    // read to its end so that the lines after it are not taken for keywords.
    bool failed = false;
    bool ended = false;
    for (int32_t k = 0; k < keyCount && !ended; ++k) {
        MotionKey& key = keys[k];
        int length = lines.Next(line);
        if (length == 0) {
            ended = true;
            break;
        }
        if (scene::ScanFloats(AfterIndent(line, length), key.value, MotionChannels) !=
            MotionChannels) {
            failed = true;
        }
        length = lines.Next(line);
        if (length == 0) {
            ended = true;
            break;
        }
        scene::TextScanner scanner(AfterIndent(line, length));
        int read = 0;
        read += scanner.Integer(key.frame) ? 1 : 0;
        read += scanner.Integer(key.linear) ? 1 : 0;
        read += scanner.Float(key.tension) ? 1 : 0;
        read += scanner.Float(key.continuity) ? 1 : 0;
        read += scanner.Float(key.bias) ? 1 : 0;
        if (read != 5) {
            failed = true;
        }
        if (key.frame > lastKeyFrame) {
            lastKeyFrame = key.frame;
        }
        if (channelCount == MotionChannels) {
            for (int i = 3; i < 6; ++i) {
                key.value[i] = static_cast<float>(key.value[i] * NegativeDegreesToRadians);
            }
        }
    }

    if (!ended) {
        static const char keyword[] = "EndBehavior";
        const int keywordLength = static_cast<int>(sizeof(keyword) - 1);
        const int length = lines.Next(line);
        if (length < keywordLength || std::memcmp(line, keyword, keywordLength) != 0) {
            failed = true;
        } else {
            // The value starts one character after the keyword.
            const int start = length > keywordLength ? keywordLength + 1 : keywordLength;
            const std::string_view argument(line + start, static_cast<size_t>(length - start));
            if (scene::ScanIntegers(argument, &endBehavior, 1) == 0) {
                failed = true;
            }
        }
    }

    if (failed || ended) {
        Release();
        return false;
    }
    return true;
}

void Motion::Evaluate(float* out, double frame) const {
    if (keys == nullptr || keyCount <= 0) {
        for (int i = 0; i < MotionChannels; ++i) {
            out[i] = 0.0f;
        }
        return;
    }
    const MotionKey& first = keys[0];
    const MotionKey& last = keys[keyCount - 1];
    if (keyCount == 1 || std::isnan(frame)) {
        CopyKey(first, out);
        return;
    }

    double f = frame;
    const double lastFrame = lastKeyFrame;
    if (f > lastFrame) {
        if (endBehavior == 0) {
            CopyKey(first, out);
            return;
        }
        // Repeat needs a positive period and a finite frame; without them the
        // motion holds its last key, as with stop.
        if (endBehavior == 1 || lastFrame <= 0.0 || !std::isfinite(f)) {
            CopyKey(last, out);
            return;
        }
        // Same as subtracting the period until f <= lastFrame: a whole number of
        // periods past the start lands on the last key frame, not on 0.
        f = std::fmod(f, lastFrame);
        if (f <= 0.0) {
            f = lastFrame;
        }
    }
    if (f == -HUGE_VAL) {
        CopyKey(first, out);
        return;
    }

    // The segment that ends at the first key at or after f; a frame exactly on
    // a key belongs to the segment ending there. Keys out of order may leave no
    // such key: then the last segment is used.
    int32_t k = 1;
    while (k < keyCount - 1 && !(f <= keys[k].frame)) {
        ++k;
    }
    const MotionKey& k0 = keys[k - 1];
    const MotionKey& k1 = keys[k];
    const double length = static_cast<double>(k1.frame) - static_cast<double>(k0.frame);
    if (length == 0.0) {
        CopyKey(k1, out);
        return;
    }
    const double t = (f - k0.frame) / length;

    // Hermite weights and the tension/continuity/bias tangent factors, once
    // per evaluation.
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double h2 = 3.0 * t2 - 2.0 * t3;
    const double h1 = 1.0 - h2;
    const double h3 = t3 - 2.0 * t2 + t;
    const double h4 = t3 - t2;
    const double a0 = (1.0 - k0.tension) * (1.0 + k0.continuity) * (1.0 + k0.bias);
    const double b0 = (1.0 - k0.tension) * (1.0 - k0.continuity) * (1.0 - k0.bias);
    const double a1 = (1.0 - k1.tension) * (1.0 - k1.continuity) * (1.0 + k1.bias);
    const double b1 = (1.0 - k1.tension) * (1.0 + k1.continuity) * (1.0 - k1.bias);
    const double outFactor = k0.frame == 0 ? 0.5 * (a0 + b0) : b0;
    const double inFactor = k1.frame == lastKeyFrame ? 0.5 * (a1 + b1) : a1;

    for (int i = 0; i < MotionChannels; ++i) {
        const double y0 = k0.value[i];
        const double y1 = k1.value[i];
        const double d = y1 - y0;
        double result;
        if (d == 0.0) {
            result = y0;
        } else if (k1.linear != 0) {
            result = y0 + t * d;
        } else {
            result = y0 * h1 + y1 * h2 + outFactor * d * h3 + inFactor * d * h4;
        }
        out[i] = ToFloat(result);
    }
}
