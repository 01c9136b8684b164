// The effect's eighteen tunable parameters: their order and names, the slider
// table that maps a knob's height to a value and back, and the one-line text
// dump of the current values. Knows the effect's values only through Effect.
#pragma once

#include <cstddef>
#include <cstdint>

// Parameter indices. The index is also the slot of the parameter's slider knob
// in the options screen's button table and its row in sliderTable.
enum ParameterIndex : int32_t {
    ParamTwist = 0,
    ParamNum = 1,
    ParamDelay = 2,
    ParamPScaleX = 3,
    ParamPScaleY = 4,
    ParamYDelta = 5,
    ParamCADist = 6,
    ParamPRotVelX = 7,
    ParamPRotVelY = 8,
    ParamPRotVelZ = 9,
    ParamPCenterX = 10,
    ParamPCenterY = 11,
    ParamCARotVelX = 12,
    ParamCARotVelY = 13,
    ParamCARotVelZ = 14,
    ParamPCAxisRotX = 15,
    ParamPCAxisRotY = 16,
    ParamPCAxisRotZ = 17,
};
constexpr int32_t ParameterCount = 18;

// A knob moves between these heights (scene units, inclusive).
constexpr float KnobTop = 0.38f;
constexpr float KnobBottom = -0.38f;

// One slider: the value at the knob's highest and lowest point, and how far the
// knob moves per pixel of vertical mouse movement (scene units per pixel).
struct SliderRow {
    float top;
    float bottom;
    float dragStep;
};

// One row per parameter, in index order.
extern const SliderRow sliderTable[ParameterCount];
// The parameters' short names, in index order ("Twist", "Num", ...).
extern const char* const parameterNames[ParameterCount];

// The value of slider index with its knob at height y. Computed in double
// precision and rounded to float; Twist and Num are then truncated toward zero
// to a whole number. 0 for an index outside the table.
float ValueFromKnob(int32_t index, float y);
// The knob height at which slider index shows value; the inverse of
// ValueFromKnob. 0 for an index outside the table.
float KnobFromValue(int32_t index, float value);

class Effect;

// Writes the dump line of effect's current values into out (always terminated,
// cut to size). Returns the length of the whole line as snprintf does.
int FormatParameters(const Effect& effect, char* out, size_t size);
// The Enter key's command: the current values of the program's effect as one
// line of a preset table, to Trace. Returns 1.
int DumpParameters();
