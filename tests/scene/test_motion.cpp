// Motions: reading sections, evaluating keys and end behaviours, broken sections.
#include "scene/line_reader.h"
#include "scene/motion.h"
#include "scene_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

using scenetest::At;
using scenetest::KeyText;
using scenetest::MotionText;

namespace {

bool ReadMotion(Motion& motion, const std::string& text) {
    scene::MemoryText source(text.data(), text.size());
    scene::LineReader lines(source);
    return motion.Read(lines);
}

std::vector<float> Eval(const Motion& motion, double frame) {
    std::vector<float> out(10, -777.0f);
    motion.Evaluate(out.data(), frame);
    return out;
}

} // namespace

// Nine-channel angles become radians turned the other way; evaluation writes nine values only.
TEST(MotionRead, ConvertsTheAnglesOfNineChannelMotionsOnly) {
    Motion motion;
    KeyText key{{1.5f, -2, 3, 90, -45, 180, 1, 2, 3}, 12, 1, 0.5f, -0.25f, 0.75f};
    ASSERT_TRUE(ReadMotion(motion, MotionText({At(0, 0, 0, 0), key}, 2)));
    ASSERT_EQ(motion.keyCount, 2);
    const MotionKey& k = motion.keys[1];
    const double degree = std::acos(-1.0) / 180;
    EXPECT_EQ(k.value[3], -1.5707963705062866f); // heading 90 degrees, exactly -pi/2 in float
    EXPECT_FLOAT_EQ(k.value[4], float(45 * degree));
    EXPECT_FLOAT_EQ(k.value[5], float(-180 * degree));

    Motion twelve;
    ASSERT_TRUE(ReadMotion(twelve, "  12\n  2\n  1 2 3 90 0 0 1 1 1\n  0 0 0 0 0\n"
                                   "  2 2 3 90 0 0 1 1 1\n  10 0 0 0 0\nEndBehavior 1\n"));
    const auto out = Eval(twelve, 5);
    EXPECT_TRUE(std::abs(out[0] - 1.5f) < 1e-6f && out[3] == 90.0f && out[9] == -777.0f);
}

TEST(MotionRead, BrokenSectionsFailWithoutKeys) {
    const char* broken[] = {
        "  x\n  1\n",                                                     // channel count
        "  9\n  two\n",                                                   // key count
        "  9\n  1\n  0 0 0 0 0 0 1 1\n  0 0 0 0 0\nEndBehavior 1\n",      // eight values
        "  9\n  1\n  0 0 0 0 0 0 1 1 1\n  0 0 0 0\nEndBehavior 1\n",      // four key fields
        "  9\n  1\n  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\nEndBehaviour 1\n",   // keyword
        "  9\n  1\n  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\nEndBehavior x\n",    // end value
        "  9\n  1\n  0 0 0 0 0 0 1 1 1\n",                                // file ends
        "  9\n  1\n  0 0 0 nan 0 0 1 1 1\n  0 0 0 0 0\nEndBehavior 1\n",  // not a number
        "  9\n  1\n  0 0 1e39 0 0 0 1 1 1\n  0 0 0 0 0\nEndBehavior 1\n", // beyond float
        "  9\n  -1\nEndBehavior 1\n",                                     // negative count
        "  9\n  2000000000\n",
        "  9\n  99999999999999999999\n", // refused before allocating
    };
    for (const char* text : broken) {
        Motion motion;
        EXPECT_FALSE(ReadMotion(motion, text)) << text;
        EXPECT_TRUE(motion.keys == nullptr && motion.keyCount == 0) << text;
    }
}

TEST(MotionEvaluate, EndBehaviours) {
    const std::vector<KeyText> keys = {At(0, 0, 10, 0), At(30, 30, 20, 0), At(60, 60, 40, 0)};
    Motion reset, stop, repeat;
    ASSERT_TRUE(ReadMotion(reset, MotionText(keys, 0)));
    ASSERT_TRUE(ReadMotion(stop, MotionText(keys, 1)));
    ASSERT_TRUE(ReadMotion(repeat, MotionText(keys, 2)));

    EXPECT_EQ(Eval(reset, 61), Eval(reset, 0));
    EXPECT_EQ(Eval(stop, 61)[0], 60.0f);
    // 150 repeats 30; 120 lands on the last key; far frames end at once.
    EXPECT_EQ(Eval(repeat, 150), Eval(repeat, 30));
    EXPECT_EQ(Eval(repeat, 120)[0], 60.0f);
    EXPECT_EQ(Eval(repeat, 6e12 + 30), Eval(repeat, 30));
}

// The cubic Hermite curve from y0 to y1 with the tangents d0 and d1, at t.
double Hermite(double y0, double y1, double d0, double d1, double t) {
    const double h2 = 3 * t * t - 2 * t * t * t;
    return y0 * (1 - h2) + y1 * h2 + d0 * (t * t * t - 2 * t * t + t) + d1 * (t * t * t - t * t);
}

// A key at x with tension, continuity and bias.
KeyText Tcb(int frame, float x, float tension, float continuity = 0, float bias = 0) {
    return KeyText{{x, 0, 0, 0, 0, 0, 1, 1, 1}, frame, 0, tension, continuity, bias};
}

// Tangent factors: leaving (1-T)(1-C)(1-B), arriving (1-T)(1-C)(1+B); the first key leaves with
// the mean of (1-T)(1+C)(1+B) and the leaving factor, the last arrives with the mean of the
// arriving factor and (1-T)(1+C)(1-B). A linear key is reached in a straight line.
TEST(MotionEvaluate, TensionContinuityAndBiasShapeTheTangents) {
    KeyText linear = Tcb(40, 100, 0.8f);
    linear.linear = 1;
    const std::vector<KeyText> line = {Tcb(0, 20, 0), Tcb(40, 100, 0)},
                               lineByFlag = {line[0], linear},
                               eased = {Tcb(0, 0, 1), Tcb(10, 10, 1)},
                               biased = {Tcb(0, 0, 0), Tcb(10, 10, 0, 0, 0.5f), Tcb(20, 30, 0)},
                               ends = {Tcb(0, 0, 0, 0.5f, 0.5f), Tcb(10, 10, 0, -0.4f),
                                       Tcb(20, 30, 0, 0.5f, -0.5f)};
    const struct {
        const char* what;
        const std::vector<KeyText>& keys;
        double frame, expected;
    } cases[] = {
        {"zero TCB: a straight line", line, 13.5, 20 + 80 * 13.5 / 40},
        {"a linear key", lineByFlag, 13.5, 20 + 80 * 13.5 / 40},
        {"before the first key: extrapolated", lineByFlag, -10, 0},
        {"tension 1: flat tangents", eased, 2.5, Hermite(0, 10, 0, 0, 0.25)},
        {"bias on the inner key, arriving", biased, 5, Hermite(0, 10, 10, 1.5 * 10, 0.5)},
        {"bias on the inner key, leaving", biased, 15, Hermite(10, 30, 0.5 * 20, 20, 0.5)},
        {"on a key: the end of its segment", biased, 10, 10},
        // Leaves the first key with (1.5 * 1.5 + 0.5 * 0.5) / 2, arrives with 1.4.
        {"first key's mean", ends, 2, Hermite(0, 10, 1.25 * 10, 1.4 * 10, 0.2)},
        // Leaves the inner key with 1.4, arrives at the last with (0.5 * 0.5 + 1.5 * 1.5) / 2.
        {"last key's mean", ends, 12, Hermite(10, 30, 1.4 * 20, 1.25 * 20, 0.2)},
    };
    for (const auto& c : cases) {
        Motion motion;
        ASSERT_TRUE(ReadMotion(motion, MotionText(c.keys, 1))) << c.what;
        EXPECT_NEAR(Eval(motion, c.frame)[0], c.expected, 1e-4) << c.what << " at " << c.frame;
    }
}

TEST(MotionEvaluate, DegenerateMotionsStayFiniteAndEnd) {
    Motion empty, one; // no keys: zeros; one key: held at every frame
    ASSERT_TRUE(ReadMotion(empty, "  9\n  0\nEndBehavior 2\n"));
    EXPECT_EQ(Eval(empty, 5), std::vector<float>({0, 0, 0, 0, 0, 0, 0, 0, 0, -777}));
    ASSERT_TRUE(ReadMotion(one, MotionText({At(0, 1, 2, 3)}, 2)));
    for (double frame : {-50.0, 0.5, 1000.0})
        EXPECT_EQ(Eval(one, frame), std::vector<float>({1, 2, 3, 0, 0, 0, 1, 1, 1, -777}));

    // Repeat with a zero period (every key at frame 0), or with negative key frames only.
    Motion flat, negative;
    ASSERT_TRUE(ReadMotion(flat, MotionText({At(0, 1, 0, 0), At(0, 2, 0, 0)}, 2)));
    for (double frame : {100.0, 0.0, -3.0})
        EXPECT_EQ(Eval(flat, frame)[0], 2.0f) << frame;
    ASSERT_TRUE(ReadMotion(negative, MotionText({At(-20, 1, 0, 0), At(-10, 2, 0, 0)}, 2)));
    EXPECT_EQ(Eval(negative, 5)[0], 2.0f);

    // Keys out of order, and frames that are not numbers.
    Motion shuffled;
    ASSERT_TRUE(
        ReadMotion(shuffled, MotionText({At(60, 1, 0, 0), At(10, 2, 0, 0), At(5, 3, 0, 0)}, 2)));
    for (double frame : {0.0, 30.0, 59.0, double(NAN), -double(INFINITY), double(INFINITY)}) {
        const auto out = Eval(shuffled, frame);
        EXPECT_TRUE(std::all_of(out.begin(), out.begin() + 9, [](float v) {
            return std::isfinite(v);
        })) << frame;
    }

    // Segments far longer than 16 bits of frames interpolate over their length.
    Motion longSegment;
    ASSERT_TRUE(ReadMotion(longSegment, MotionText({At(0, 0, 0, 0), At(40000, 40000, 0, 0)}, 1)));
    EXPECT_NEAR(Eval(longSegment, 20000)[0], 20000.0, 0.01);
}
