// Slider table, knob conversions and the parameter dump.
#include "effect/params.h"

#include "effect/effect.h"
#include "toolkit/report.h"

#include <cmath>
#include <cstdio>

const SliderRow sliderTable[ParameterCount] = {
    {3.0f, 0.0f, 0.01f},         // Twist
    {500.0f, 1.0f, 0.01f},       // Num
    {5.0f, 0.1f, 0.01f},         // Delay
    {100.0f, 0.1f, 0.01f},       // PScaleX
    {100.0f, 0.1f, 0.01f},       // PScaleY
    {3.0f, 0.0f, 0.005f},        // YDelta
    {50.0f, 0.0f, 0.01f},        // CADist
    {-1.0f, 1.0f, 0.001f},       // PRotVelX: note the negative end at the top
    {-1.0f, 1.0f, 0.001f},       // PRotVelY
    {-1.0f, 1.0f, 0.001f},       // PRotVelZ
    {50.0f, 0.0f, 0.01f},        // PCenterX
    {50.0f, 0.0f, 0.01f},        // PCenterY
    {-0.2f, 0.2f, 0.001f},       // CARotVelX: negative end at the top
    {-0.2f, 0.2f, 0.001f},       // CARotVelY
    {-0.2f, 0.2f, 0.001f},       // CARotVelZ
    {6.2831855f, 0.0f, 0.0001f}, // PCAxisRotX: 2π as float
    {6.2831855f, 0.0f, 0.0001f}, // PCAxisRotY
    {6.2831855f, 0.0f, 0.0001f}, // PCAxisRotZ
};

const char* const parameterNames[ParameterCount] = {
    "Twist",     "Num",       "Delay",     "PScaleX",    "PScaleY",    "YDelta",
    "CADist",    "PRotVelX",  "PRotVelY",  "PRotVelZ",   "PCenterX",   "PCenterY",
    "CARotVelX", "CARotVelY", "CARotVelZ", "PCAxisRotX", "PCAxisRotY", "PCAxisRotZ",
};

namespace {

// The knob's travel, top to bottom, is 0.76 scene units; -1 / 0.76 to 17 digits.
constexpr double KnobHalfTravel = 0.38;
constexpr double KnobTravel = 0.76;
constexpr double MinusInverseTravel = -1.3157894736842106;

bool InTable(int32_t index) {
    return index >= 0 && index < ParameterCount;
}

} // namespace

float ValueFromKnob(int32_t index, float y) {
    if (!InTable(index))
        return 0.0f;
    const SliderRow& row = sliderTable[index];
    const double top = row.top;
    const double bottom = row.bottom;
    const float value = static_cast<float>(
        top + (bottom - top) * ((static_cast<double>(y) - KnobHalfTravel) * MinusInverseTravel));
    // Rounded to float first, so the top stop of Twist (the float nearest 0.38)
    // gives 3 and not 2.
    if (index == ParamTwist || index == ParamNum)
        return std::trunc(value);
    return value;
}

float KnobFromValue(int32_t index, float value) {
    if (!InTable(index))
        return 0.0f;
    const SliderRow& row = sliderTable[index];
    const double top = row.top;
    const double bottom = row.bottom;
    return static_cast<float>(KnobHalfTravel -
                              KnobTravel * (static_cast<double>(value) - top) / (bottom - top));
}

int FormatParameters(const Effect& effect, char* out, size_t size) {
    // One row of a preset table written as source text; Delay is always written
    // as 2.0 and the pivot is not part of a preset.
    return std::snprintf(
        out, size,
        "\t{ %d, %ld, 2.0, %.2f, %.2f,\t%.3f, %.2f, %.3f, %.3f, %.3f,\t%.3f, %.3f, %.3f,"
        "\t%.4f, %.4f, %.4f,},\n",
        static_cast<int>(effect.master.Twist), static_cast<long>(effect.CopyCount()),
        static_cast<double>(effect.master.PScaleX), static_cast<double>(effect.master.PScaleY),
        static_cast<double>(effect.YDelta), static_cast<double>(effect.master.CADist),
        static_cast<double>(effect.master.PRotVel[0]),
        static_cast<double>(effect.master.PRotVel[1]),
        static_cast<double>(effect.master.PRotVel[2]), static_cast<double>(effect.CARotVel[0]),
        static_cast<double>(effect.CARotVel[1]), static_cast<double>(effect.CARotVel[2]),
        static_cast<double>(effect.PCAxisRot[0]), static_cast<double>(effect.PCAxisRot[1]),
        static_cast<double>(effect.PCAxisRot[2]));
}

int DumpParameters() {
    // Built even when Trace discards it, so the key does the same work either way.
    char line[256];
    FormatParameters(theEffect, line, sizeof line);
    Trace("%s", line);
    return 1;
}
