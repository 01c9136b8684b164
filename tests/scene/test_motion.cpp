// Motions: reading the motion section and evaluating keys, end behaviours and
// the sections and key layouts that are broken or hostile.
#include "scene/line_reader.h"
#include "scene/motion.h"
#include "scene_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using scenetest::At;
using scenetest::KeyText;
using scenetest::MotionText;

namespace {

// Reads a motion from text; `after` gets the first line after the section.
bool ReadMotion(Motion& motion, const std::string& text, std::string* after = nullptr) {
    scene::TextLineSource source(text.data(), text.size());
    scene::LineReader lines(source);
    const bool read = motion.Read(lines);
    if (after != nullptr) {
        char line[scene::LineBufferSize];
        *after = lines.Next(line) > 0 ? line : "";
    }
    return read;
}

std::vector<float> Eval(const Motion& motion, double frame) {
    std::vector<float> out(10, -777.0f);
    motion.Evaluate(out.data(), frame);
    return out;
}

} // namespace

TEST(MotionRead, ConvertsAnglesAndKeepsKeyFields) {
    Motion motion;
    KeyText key{{1.5f, -2, 3, 90, -45, 180, 1, 2, 3}, 12, 1, 0.5f, -0.25f, 0.75f};
    std::string after;
    ASSERT_TRUE(ReadMotion(motion, MotionText({At(0, 0, 0, 0), key}, 2) + "NextLine\n", &after));
    EXPECT_EQ(after, "NextLine\n");
    ASSERT_EQ(motion.keyCount, 2);
    EXPECT_EQ(motion.endBehavior, 2);
    EXPECT_EQ(motion.lastKeyFrame, 12);
    const MotionKey& k = motion.keys[1];
    EXPECT_EQ(k.value[3], -1.5707963705062866f); // heading 90 degrees
    EXPECT_EQ(k.value[4], static_cast<float>(45 * 0.017453293005625408));
    EXPECT_EQ(k.value[5], static_cast<float>(180 * -0.017453293005625408));
    EXPECT_EQ(k.bias, 0.75f); // the last key field, read after the other four
}

TEST(MotionRead, WindowsLineEndsAndEmptyCountLines) {
    Motion motion;
    // An empty channel-count line keeps the count (0 for a fresh motion), so the
    // angles are left as written.
    const std::string text = "\r\n  1\r\n  0 0 0 90 0 0 1 1 1\r\n  0 0 0 0 0\r\nEndBehavior 1\r\n";
    ASSERT_TRUE(ReadMotion(motion, text));
    EXPECT_EQ(motion.channelCount, 0);
    EXPECT_EQ(motion.keyCount, 1);
    EXPECT_EQ(motion.keys[0].value[3], 90.0f);
    EXPECT_EQ(motion.endBehavior, 1);
}

TEST(MotionRead, KeyLineWithoutIndentLosesTwoCharacters) {
    Motion motion;
    ASSERT_TRUE(ReadMotion(motion, "  9\n  1\n1234 5 6 0 0 0 1 1 1\n  0 0 0 0 0\nEndBehavior 1\n"));
    EXPECT_EQ(motion.keys[0].value[0], 34.0f);
    EXPECT_EQ(motion.keys[0].value[1], 5.0f);
}

TEST(MotionRead, BrokenSectionsFailWithoutKeys) {
    const char* broken[] = {
        "  x\n  1\n",                                                     // channel count
        "  9\n  two\n",                                                   // key count
        "  9\n  1\n  0 0 0 0 0 0 1 1\n  0 0 0 0 0\nEndBehavior 1\n",      // eight values
        "  9\n  1\n  0 0 0 0 0 0 1 1 1\n  0 0 0 0\nEndBehavior 1\n",      // four key fields
        "  9\n  1\n  \n  0 0 0 0 0\nEndBehavior 1\n",                     // empty key line
        "  9\n  1\n  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\nEndBehaviour 1\n",   // keyword
        "  9\n  1\n  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\nEndBehavior x\n",    // end value
        "  9\n  1\n  0 0 0 0 0 0 1 1 1\n",                                // file ends
        "  9\n  1\n  0 0 0 nan 0 0 1 1 1\n  0 0 0 0 0\nEndBehavior 1\n",  // not a number
        "  9\n  1\n  0 0 1e39 0 0 0 1 1 1\n  0 0 0 0 0\nEndBehavior 1\n", // beyond float
        "  9\n  -1\nEndBehavior 1\n",                                     // negative count
    };
    for (const char* text : broken) {
        Motion motion;
        EXPECT_FALSE(ReadMotion(motion, text)) << text;
        EXPECT_EQ(motion.keys, nullptr) << text;
        EXPECT_EQ(motion.keyCount, 0) << text;
    }
}

TEST(MotionRead, ShortKeyLineStillReadsToTheEndOfTheSection) {
    Motion motion;
    std::string after;
    EXPECT_FALSE(ReadMotion(
        motion,
        "  9\n  2\n  0 0\n  0 0 0 0 0\n  0 0 0 0 0 0 1 1 1\n  5 0 0 0 0\nEndBehavior 1\nNext\n",
        &after));
    EXPECT_EQ(after, "Next\n");
}

TEST(MotionRead, AbsurdKeyCountIsRefusedBeforeAllocating) {
    Motion motion;
    EXPECT_FALSE(ReadMotion(motion, "  9\n  2000000000\n"));
    EXPECT_FALSE(ReadMotion(motion, "  9\n  99999999999999999999\n"));
    EXPECT_EQ(motion.keys, nullptr);
}

TEST(MotionRead, ReadingAgainReplacesTheKeys) {
    Motion motion;
    ASSERT_TRUE(ReadMotion(motion, MotionText({At(0, 1, 0, 0), At(90, 2, 0, 0)}, 1)));
    ASSERT_TRUE(ReadMotion(motion, MotionText({At(0, 5, 0, 0), At(10, 6, 0, 0)}, 1)));
    EXPECT_EQ(motion.lastKeyFrame, 10);
    EXPECT_EQ(Eval(motion, 50)[0], 6.0f);
}

TEST(MotionEvaluate, OneKeyHoldsEverywhere) {
    Motion motion;
    ASSERT_TRUE(
        ReadMotion(motion, MotionText({KeyText{{1, 2, 3, 0, 0, 0, 7, 8, 9}, 0, 0, 0, 0, 0}}, 2)));
    for (double frame : {-50.0, 0.0, 0.5, 1000.0}) {
        EXPECT_EQ(Eval(motion, frame), std::vector<float>({1, 2, 3, 0, 0, 0, 7, 8, 9, -777}));
    }
}

TEST(MotionEvaluate, EndBehaviours) {
    const std::vector<KeyText> keys = {At(0, 0, 10, 0), At(30, 30, 20, 0), At(60, 60, 40, 0)};
    Motion reset, stop, repeat;
    ASSERT_TRUE(ReadMotion(reset, MotionText(keys, 0)));
    ASSERT_TRUE(ReadMotion(stop, MotionText(keys, 1)));
    ASSERT_TRUE(ReadMotion(repeat, MotionText(keys, 2)));

    EXPECT_EQ(Eval(reset, 61)[0], 0.0f);
    EXPECT_EQ(Eval(reset, 61)[1], 10.0f);
    EXPECT_EQ(Eval(stop, 61)[0], 60.0f);
    EXPECT_EQ(Eval(stop, 1e9)[1], 40.0f);

    // 150 is evaluated at 30; 120 at 60 (a whole number of periods lands on the last key).
    EXPECT_EQ(Eval(repeat, 150), Eval(repeat, 30));
    EXPECT_EQ(Eval(repeat, 120), Eval(repeat, 60));
    EXPECT_EQ(Eval(repeat, 120)[0], 60.0f);
    EXPECT_EQ(Eval(repeat, 61), Eval(repeat, 1));
    // Far frames end at once.
    EXPECT_EQ(Eval(repeat, 6e12 + 30), Eval(repeat, 30));
}

TEST(MotionEvaluate, ZeroTcbIsLinearAndLinearKeysAreLinear) {
    Motion smooth, linear;
    KeyText last = At(40, 100, -20, 8);
    ASSERT_TRUE(ReadMotion(smooth, MotionText({At(0, 20, 0, 0), last}, 1)));
    last.linear = 1;
    last.tension = 0.8f;
    ASSERT_TRUE(ReadMotion(linear, MotionText({At(0, 20, 0, 0), last}, 1)));
    for (double frame : {0.0, 5.0, 13.5, 20.0, 39.0, 40.0}) {
        const double t = frame / 40.0;
        for (const Motion* motion : {&smooth, &linear}) {
            const auto out = Eval(*motion, frame);
            EXPECT_NEAR(out[0], 20 + 80 * t, 1e-4) << frame;
            EXPECT_NEAR(out[1], -20 * t, 1e-4) << frame;
            EXPECT_NEAR(out[2], 8 * t, 1e-4) << frame;
            EXPECT_EQ(out[6], 1.0f);
        }
    }
    // Before the first key the first segment is extrapolated.
    EXPECT_NEAR(Eval(linear, -10)[0], 0.0, 1e-4);
}

TEST(MotionEvaluate, TensionContinuityBiasShapeTheTangents) {
    // Tension 1 at both ends: flat tangents, the Hermite ease h2.
    Motion eased;
    KeyText a = At(0, 0, 0, 0), b = At(10, 10, 0, 0);
    a.tension = b.tension = 1;
    ASSERT_TRUE(ReadMotion(eased, MotionText({a, b}, 1)));
    EXPECT_NEAR(Eval(eased, 2.5)[0], 10 * 0.15625, 1e-5);
    EXPECT_NEAR(Eval(eased, 5)[0], 5.0, 1e-5);

    // Bias on an inner key: its incoming tangent uses a1 = 1.5, its outgoing b0 = 0.5.
    Motion biased;
    KeyText inner = At(10, 10, 0, 0);
    inner.bias = 0.5f;
    ASSERT_TRUE(ReadMotion(biased, MotionText({At(0, 0, 0, 0), inner, At(20, 30, 0, 0)}, 1)));
    EXPECT_NEAR(Eval(biased, 5)[0], 4.375, 1e-5);
    EXPECT_NEAR(Eval(biased, 15)[0], 18.75, 1e-5);
    EXPECT_EQ(Eval(biased, 10)[0], 10.0f); // on a key: the end of its segment
}

TEST(MotionEvaluate, DegenerateMotionsStayFiniteAndEnd) {
    // No keys: zeros.
    Motion empty;
    ASSERT_TRUE(ReadMotion(empty, "  9\n  0\nEndBehavior 2\n"));
    auto out = Eval(empty, 5);
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_EQ(out[8], 0.0f);
    EXPECT_EQ(out[9], -777.0f);

    // Repeat with every key at frame 0 (a zero-length segment and a zero period).
    Motion flat;
    ASSERT_TRUE(ReadMotion(flat, MotionText({At(0, 1, 0, 0), At(0, 2, 0, 0)}, 2)));
    EXPECT_EQ(Eval(flat, 100)[0], 2.0f);
    EXPECT_EQ(Eval(flat, 0)[0], 2.0f);
    EXPECT_EQ(Eval(flat, -3)[0], 2.0f);

    // Repeat with negative key frames only.
    Motion negative;
    ASSERT_TRUE(ReadMotion(negative, MotionText({At(-20, 1, 0, 0), At(-10, 2, 0, 0)}, 2)));
    EXPECT_EQ(Eval(negative, 5)[0], 2.0f);

    // Keys out of order, and frames that are not numbers.
    Motion shuffled;
    ASSERT_TRUE(
        ReadMotion(shuffled, MotionText({At(60, 1, 0, 0), At(10, 2, 0, 0), At(5, 3, 0, 0)}, 2)));
    for (double frame : {0.0, 30.0, 59.0, double(NAN), -double(INFINITY), double(INFINITY)}) {
        out = Eval(shuffled, frame);
        for (int i = 0; i < 9; ++i) {
            EXPECT_TRUE(std::isfinite(out[i])) << frame;
        }
    }

    // Segments far longer than 16 bits of frames interpolate over their length.
    Motion longSegment;
    ASSERT_TRUE(ReadMotion(longSegment, MotionText({At(0, 0, 0, 0), At(40000, 40000, 0, 0)}, 1)));
    EXPECT_NEAR(Eval(longSegment, 20000)[0], 20000.0, 0.01);
}

TEST(MotionEvaluate, NeverWritesMoreThanNineValues) {
    Motion motion;
    ASSERT_TRUE(ReadMotion(motion, "  12\n  2\n  1 2 3 90 0 0 1 1 1\n  0 0 0 0 0\n"
                                   "  2 2 3 90 0 0 1 1 1\n  10 0 0 0 0\nEndBehavior 1\n"));
    EXPECT_EQ(motion.channelCount, 12);
    const auto out = Eval(motion, 5);
    EXPECT_NEAR(out[0], 1.5, 1e-6);
    EXPECT_EQ(out[3], 90.0f); // angles are converted only for nine channels
    EXPECT_EQ(out[9], -777.0f);
}

TEST(LineReader, LongLinesKeepTheirStartAndDropTheirTail) {
    std::string text(1500, 'a');
    text += "TAIL\nnext\n";
    text += std::string(1023, 'b') + "\nlast";
    scene::TextLineSource source(text.data(), text.size());
    scene::LineReader lines(source);
    char line[scene::LineBufferSize];
    EXPECT_EQ(lines.Next(line), scene::LineBufferSize - 1);
    EXPECT_EQ(lines.Next(line), 5);
    EXPECT_STREQ(line, "next\n");
    EXPECT_EQ(lines.Next(line), 1023);
    EXPECT_EQ(lines.Next(line), 4);
    EXPECT_STREQ(line, "last");
    EXPECT_EQ(lines.LineNumber(), 4);
    EXPECT_EQ(lines.Next(line), 0);
}
