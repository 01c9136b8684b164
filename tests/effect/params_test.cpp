// Slider table conversions and the parameter dump line.
#include "effect/effect.h"
#include "effect/options.h"
#include "effect/params.h"
#include "tests/effect/effect_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A knob reads back as the value it was placed for.
TEST(KnobConversion, KnobsAndValuesInvertEachOther) {
    for (int i = 0; i < ParameterCount; ++i) {
        if (i == ParamTwist || i == ParamNum)
            continue;
        for (float y : {-0.38f, -0.2f, 0.0f, 0.1f, 0.37f})
            EXPECT_NEAR(KnobFromValue(i, ValueFromKnob(i, y)), y, 1e-5f) << parameterNames[i];
    }
    // Whole numbers: the top stop, a hair below 0.38, rounds to 3.0 before truncation.
    EXPECT_EQ(ValueFromKnob(ParamTwist, 0.38f), 3.0f);
    EXPECT_EQ(ValueFromKnob(ParamTwist, 0.38f - 0.01f), 2.0f);
    EXPECT_EQ(ValueFromKnob(ParamTwist, -0.38f), 0.0f);
    for (int n : {1, 37, 500})
        EXPECT_EQ(ValueFromKnob(ParamNum, KnobFromValue(ParamNum, static_cast<float>(n))),
                  static_cast<float>(n))
            << n;
    // The lowest scale is still a scale: SetPScale ignores exactly 0.
    EXPECT_GT(ValueFromKnob(ParamPScaleX, KnobBottom), 0.0f);
}

// A value set through a row reads back through it, and no other row changes.
TEST(ParameterTable, EachRowSetsAndReadsItsOwnParameterOnly) {
    effect_test::Workspace workspace;
    showMode = ShowMode::Interactive;
    Effect effect;
    ASSERT_TRUE(effect.Start());
    for (int i = 0; i < ParameterCount; ++i) {
        SCOPED_TRACE(parameterNames[i]);
        float before[ParameterCount];
        for (int j = 0; j < ParameterCount; ++j)
            before[j] = sliderTable[j].get(effect);
        // A third of the way down from the top: off every start-up value.
        const float value = ValueFromKnob(i, 0.38f - 0.76f / 3.0f);
        ASSERT_NE(value, before[i]);
        sliderTable[i].set(effect, value);
        EXPECT_EQ(sliderTable[i].get(effect), value);
        for (int j = 0; j < ParameterCount; ++j) {
            if (j != i) {
                EXPECT_EQ(sliderTable[j].get(effect), before[j]) << parameterNames[j];
            }
        }
    }
    effect.Release();
}

TEST(ParameterDump, StartUpValuesMakeOnePresetRow) {
    effect_test::Workspace workspace;
    showMode = ShowMode::WatchOnly;
    Effect effect;
    ASSERT_TRUE(effect.Start());
    char line[256];
    FormatParameters(effect, line, sizeof line);
    EXPECT_EQ(std::string(line), "\t{ 0, 100, 2.0, 100.00, 1.00,\t0.500, 10.00, 0.050, 0.050, "
                                 "0.050,\t0.020, 0.020, 0.020,\t0.0000, 0.1000, 0.0000,},\n");
    effect.Release();
}

} // namespace
