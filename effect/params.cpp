// Slider table, knob conversions and the parameter dump.
#include "effect/params.h"

#include "effect/effect.h"
#include "toolkit/report.h"

#include <cmath>
#include <cstdio>

// The lambdas take the table's get and set expressions, written in terms of
// `effect` and `value`.
#define SOLVANE_SLIDER_ROW(name, top, bottom, drag, start, reset, kind, knob, row, column, tag,    \
                           dump, get, set)                                                         \
    {#name,                                                                                        \
     top,                                                                                          \
     bottom,                                                                                       \
     drag,                                                                                         \
     start,                                                                                        \
     reset,                                                                                        \
     ParameterKind::kind,                                                                          \
     KnobSync::knob,                                                                               \
     dump,                                                                                         \
     [](const Effect& effect) -> float { return get; },                                            \
     [](Effect& effect, float value) { set; }},
const SliderRow sliderTable[ParameterCount] = {SOLVANE_EFFECT_PARAMETERS(SOLVANE_SLIDER_ROW)};
#undef SOLVANE_SLIDER_ROW

#define SOLVANE_PARAMETER_NAME(name, ...) #name,
const char* const parameterNames[ParameterCount] = {
    SOLVANE_EFFECT_PARAMETERS(SOLVANE_PARAMETER_NAME)};
#undef SOLVANE_PARAMETER_NAME

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
    if (row.kind == ParameterKind::Whole)
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

void ApplyStartValues(Effect& effect) {
    for (const SliderRow& row : sliderTable)
        row.set(effect, row.startValue);
}

void ApplyResetValues(Effect& effect) {
    for (const SliderRow& row : sliderTable)
        row.set(effect, row.resetValue);
}

int FormatParameters(const Effect& effect, char* out, size_t size) {
    // One row of a preset table written as source text: the dumped parameters'
    // parts in braces, each after its separator, with a comma after the last and
    // after the closing brace. The parts come one after another into out; the
    // length counts on past the end of out, as snprintf's does.
    size_t length = 0;
    auto add = [&](const char* format, double value) {
        const bool room = length < size;
        const int written =
            std::snprintf(room ? out + length : nullptr, room ? size - length : 0, format, value);
        if (written > 0)
            length += static_cast<size_t>(written);
    };
    add("\t{", 0.0);
    for (const SliderRow& row : sliderTable) {
        if (row.dump)
            add(row.dump, static_cast<double>(row.get(effect)));
    }
    add(",},\n", 0.0);
    return static_cast<int>(length);
}

int DumpParameters() {
    // Built even when Trace discards it, so the key does the same work either way.
    char line[256];
    FormatParameters(theEffect, line, sizeof line);
    Trace("%s", line);
    return 1;
}
