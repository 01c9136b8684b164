// The effect's tunable parameters, one row each in index order: the one list
// the slider table, the knob slots of the options screen, the start-up and Reset
// values, the parameter dump and the content generator's panel layout are made
// from. It includes nothing of the effect, so the content generator takes the
// columns it needs without linking the show. Adding a parameter means adding a
// row. The options screen's push buttons and the knob it hides are named here too,
// for the screen and the content generator alike.
#pragma once

#include <cstdint>

// SOLVANE_EFFECT_PARAMETERS(ROW) calls ROW once per parameter, in index order:
//   ROW(name, top, bottom, drag, start, reset, kind, knob,
//       row, column, tag, dump, get,
//       set)
// name    the short name: enumerator Param<name>, knob object "ZTOB-Btn<name>.lwo"
// top     the value with the knob at its highest point (+0.38)
// bottom  the value with the knob at its lowest point (-0.38); the PRotVel and
//         CARotVel sliders have their negative end at the top
// drag    how far the knob moves per pixel of vertical mouse movement (scene units)
// start   the value the effect starts with
// reset   the value the options screen's Reset button sets: PScaleX 1 and both
//         spins (PRotVel, CARotVel) stopped, unlike a fresh start
// kind    Real, or Whole: the value read from a knob is truncated toward zero
// knob    Follows: the options screen puts the knob at the effect's value every
//         frame; Stays: the knob keeps the height it was dragged to
// row, column  the slider's place on the panel (rows of five columns)
// tag     "X", "Y" or "Z" for a slider of a group (the group is its name without
//         the tag), "" for a slider alone
// dump    its part of the dump line, the separator before it included: a printf
//         conversion of the value (passed as double), fixed text that ignores the
//         value (Delay is always written as 2.0), or nullptr when the parameter
//         is not in the line (the pivot is no part of a preset)
// get     the effect's current value: an expression of `effect` (const Effect&)
// set     applies `value` (float): an expression of `effect` (Effect&)
//         (get and set use std::trunc and the fixed-width types: a file that
//         expands them includes <cmath> and effect/effect.h)
// Start-up and Reset values are applied with set in index order; of the setters
// only Num's draws random numbers (the colours of new copies).
// clang-format off
#define SOLVANE_EFFECT_PARAMETERS(ROW)                                                             \
    ROW(Twist,      3.0f,       0.0f, 0.01f,   0.0f,   0.0f,   Whole, Stays,                       \
        0, 0, "",  " %.0f",   effect.master.Twist,                                                 \
        effect.SetTwist(static_cast<uint8_t>(std::trunc(value))))                                  \
    ROW(Num,        500.0f,     1.0f, 0.01f,   100.0f, 100.0f, Whole, Follows,                     \
        0, 1, "",  ", %.0f",  effect.CopyCount(),                                                  \
        effect.SetNum(static_cast<int32_t>(std::trunc(value))))                                    \
    ROW(Delay,      5.0f,       0.1f, 0.01f,   2.0f,   2.0f,   Real,  Follows,                     \
        0, 2, "",  ", 2.0",   effect.Delay,                                                        \
        effect.SetDelay(value))                                                                    \
    ROW(PScaleX,    100.0f,     0.1f, 0.01f,   100.0f, 1.0f,   Real,  Follows,                     \
        0, 3, "X", ", %.2f",  effect.master.PScaleX,                                               \
        effect.SetPScale(value, 0.0f))                                                             \
    ROW(PScaleY,    100.0f,     0.1f, 0.01f,   1.0f,   1.0f,   Real,  Follows,                     \
        0, 4, "Y", ", %.2f",  effect.master.PScaleY,                                               \
        effect.SetPScale(0.0f, value))                                                             \
    ROW(YDelta,     3.0f,       0.0f, 0.005f,  0.5f,   0.5f,   Real,  Follows,                     \
        1, 0, "",  ",\t%.3f", effect.YDelta,                                                       \
        effect.SetYDelta(value))                                                                   \
    ROW(CADist,     50.0f,      0.0f, 0.01f,   10.0f,  10.0f,  Real,  Follows,                     \
        1, 1, "",  ", %.2f",  effect.master.CADist,                                                \
        effect.SetCADist(value))                                                                   \
    ROW(PRotVelX,   -1.0f,      1.0f, 0.001f,  0.05f,  0.0f,   Real,  Follows,                     \
        1, 2, "X", ", %.3f",  effect.master.PRotVel[0],                                            \
        effect.SetPRotVel(value, effect.master.PRotVel[1], effect.master.PRotVel[2]))              \
    ROW(PRotVelY,   -1.0f,      1.0f, 0.001f,  0.05f,  0.0f,   Real,  Follows,                     \
        1, 3, "Y", ", %.3f",  effect.master.PRotVel[1],                                            \
        effect.SetPRotVel(effect.master.PRotVel[0], value, effect.master.PRotVel[2]))              \
    ROW(PRotVelZ,   -1.0f,      1.0f, 0.001f,  0.05f,  0.0f,   Real,  Follows,                     \
        1, 4, "Z", ", %.3f",  effect.master.PRotVel[2],                                            \
        effect.SetPRotVel(effect.master.PRotVel[0], effect.master.PRotVel[1], value))              \
    ROW(PCenterX,   50.0f,      0.0f, 0.01f,   0.0f,   0.0f,   Real,  Follows,                     \
        2, 0, "X", nullptr,   effect.PCenterX,                                                     \
        effect.SetPCenter(value, effect.PCenterY))                                                 \
    ROW(PCenterY,   50.0f,      0.0f, 0.01f,   0.0f,   0.0f,   Real,  Follows,                     \
        2, 1, "Y", nullptr,   effect.PCenterY,                                                     \
        effect.SetPCenter(effect.PCenterX, value))                                                 \
    ROW(CARotVelX,  -0.2f,      0.2f, 0.001f,  0.02f,  0.0f,   Real,  Follows,                     \
        2, 2, "X", ",\t%.3f", effect.CARotVel[0],                                                  \
        effect.CARotVel[0] = value)                                                                \
    ROW(CARotVelY,  -0.2f,      0.2f, 0.001f,  0.02f,  0.0f,   Real,  Follows,                     \
        2, 3, "Y", ", %.3f",  effect.CARotVel[1],                                                  \
        effect.CARotVel[1] = value)                                                                \
    ROW(CARotVelZ,  -0.2f,      0.2f, 0.001f,  0.02f,  0.0f,   Real,  Follows,                     \
        2, 4, "Z", ", %.3f",  effect.CARotVel[2],                                                  \
        effect.CARotVel[2] = value)                                                                \
    ROW(PCAxisRotX, 6.2831855f, 0.0f, 0.0001f, 0.0f,   0.0f,   Real,  Follows,                     \
        3, 0, "X", ",\t%.4f", effect.PCAxisRot[0],                                                 \
        effect.SetPCAxisRot(value, effect.PCAxisRot[1], effect.PCAxisRot[2]))                      \
    ROW(PCAxisRotY, 6.2831855f, 0.0f, 0.0001f, 0.1f,   0.1f,   Real,  Follows,                     \
        3, 1, "Y", ", %.4f",  effect.PCAxisRot[1],                                                 \
        effect.SetPCAxisRot(effect.PCAxisRot[0], value, effect.PCAxisRot[2]))                      \
    ROW(PCAxisRotZ, 6.2831855f, 0.0f, 0.0001f, 0.0f,   0.0f,   Real,  Follows,                     \
        3, 2, "Z", ", %.4f",  effect.PCAxisRot[2],                                                 \
        effect.SetPCAxisRot(effect.PCAxisRot[0], effect.PCAxisRot[1], value))

// clang-format on

// Parameter indices. The index is also the slot of the parameter's slider knob
// in the options screen's button table and its row in sliderTable.
enum ParameterIndex : int32_t {
#define SOLVANE_PARAMETER_INDEX(name, ...) Param##name,
    SOLVANE_EFFECT_PARAMETERS(SOLVANE_PARAMETER_INDEX)
#undef SOLVANE_PARAMETER_INDEX
};

#define SOLVANE_PARAMETER_ONE(...) +1
constexpr int32_t ParameterCount = 0 SOLVANE_EFFECT_PARAMETERS(SOLVANE_PARAMETER_ONE);
#undef SOLVANE_PARAMETER_ONE

// The parameter whose knob the options screen never shows (the knob still takes
// part in picking); the content generator draws its slider's slot empty.
constexpr int32_t HiddenKnob = ParamDelay;

// The options screen's push buttons, left to right on the bottom row, in the button
// table's slots after the knobs: BUTTON(name) each, its object "ZTOB-Btn<name>.lwo"
// and its label the name. The last (Quit) is drawn red, the others blue.
#define SOLVANE_PUSH_BUTTONS(BUTTON)                                                               \
    BUTTON(Colour) BUTTON(Anim) BUTTON(Reset) BUTTON(About) BUTTON(Quit)

// The kind and knob columns.
enum class ParameterKind : uint8_t { Real, Whole };
enum class KnobSync : uint8_t { Follows, Stays };
