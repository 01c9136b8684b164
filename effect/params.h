// The effect's tunable parameters as the show uses them: the slider table made
// from the parameter list (param_table.h), the conversions between a knob's
// height and a value, the start-up and Reset values, and the one-line text dump
// of the current values. Knows the effect's values only through Effect.
#pragma once

#include "effect/param_table.h"

#include <cstddef>
#include <cstdint>

// A knob moves between these heights (scene units, inclusive).
constexpr float KnobTop = 0.38f;
constexpr float KnobBottom = -0.38f;

class Effect;

// One parameter: its row of SOLVANE_EFFECT_PARAMETERS as the show uses it.
struct SliderRow {
    const char* name;   // "Twist", "Num", ...
    float top;          // the value with the knob at its highest point
    float bottom;       // the value with the knob at its lowest point
    float dragStep;     // knob travel per pixel of vertical mouse movement (scene units)
    float startValue;   // set when the effect starts
    float resetValue;   // set by the options screen's Reset
    ParameterKind kind; // Whole: a knob's value is truncated toward zero
    KnobSync knob;      // Follows: the knob is put at the value every frame
    const char* dump;   // part of the dump line (a printf format), or null
    float (*get)(const Effect& effect);
    void (*set)(Effect& effect, float value);
};

// One row per parameter, in index order.
extern const SliderRow sliderTable[ParameterCount];
// The parameters' short names, in index order ("Twist", "Num", ...).
extern const char* const parameterNames[ParameterCount];

// The value of slider index with its knob at height y. Computed in double
// precision and rounded to float; a Whole parameter (Twist, Num) is then
// truncated toward zero. 0 for an index outside the table.
float ValueFromKnob(int32_t index, float y);
// The knob height at which slider index shows value; the inverse of
// ValueFromKnob. 0 for an index outside the table.
float KnobFromValue(int32_t index, float value);

// Sets every parameter of effect to its start-up value, or to its Reset value.
void ApplyStartValues(Effect& effect);
void ApplyResetValues(Effect& effect);

// Writes the dump line of effect's current values into out (always terminated,
// cut to size). Returns the length of the whole line as snprintf does.
int FormatParameters(const Effect& effect, char* out, size_t size);
// The Enter key's command: the current values of the program's effect as one
// line of a preset table, to Trace. Returns 1.
int DumpParameters();
