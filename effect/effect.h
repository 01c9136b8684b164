// The effect: many copies of one square, stacked along an axis, spinning and
// turning, drawn with additive blending in a fading colour. Parameter changes
// ripple from the first copy to the last, one copy per frame; in the watch-only
// show the effect drifts by itself. Knows nothing of the options scene.
#pragma once

#include "geometry/colour.h"
#include "geometry/instance.h"
#include "geometry/mesh.h"
#include "geometry/vecmath.h"
#include "geometry/view.h"
#include "toolkit/list.h"

#include <cstdint>

// The parameters that ripple from copy to copy. Taking new values copies every
// field from countdown to pivot; axisRotation belongs to its copy.
struct EffectRecord {
    float countdown = 0.0f;         // frames until handed on; 0 when idle
    float PRotVel[3] = {};          // spin per frame, radians (pitch, heading, bank)
    float PScaleX = 1.0f;           // scale along x
    float PScaleY = 1.0f;           // scale along y
    float CADist = 0.0f;            // x position: distance from the stacking axis
    EffectRecord* source = nullptr; // record whose values this one takes next
    uint8_t Twist = 0;              // transformation order, 0 to 3 (see ComposeMatrix)
    Colour colour = {0, 0, 0, 0};   // colour of every point of the copy
    Matrix pivot;                   // translation by (PCenterX, PCenterY, 0)
    Matrix axisRotation;            // copy k: rotation by k × PCAxisRot
};

// One copy: an instance of the effect's square with its own record; userData
// points at record.
struct EffectInstance : ObjectInstance {
    EffectRecord record;
};

class Effect {
public:
    Mesh mesh;               // the square, "data\Square.lwo"
    List instances;          // EffectInstance*, owned, drawing order
    EffectRecord master;     // current values; countdown, source, axisRotation unused
    int32_t changed = 0;     // a master field changed since the last ripple started
    ObjectInstance centre;   // no mesh; matrix = position and turning of the arrangement
    float CARotVel[3] = {};  // turning of centre per frame, radians (pitch, heading, bank)
    float PCAxisRot[3] = {}; // copy k is turned by k times these, radians
    float PCenterX = 0.0f;   // pivot offset last set
    float PCenterY = 0.0f;
    float YDelta = 0.0f;    // spacing of the copies along y
    float Delay = 0.0f;     // stored for its slider only; the ripple's pace is fixed
    View view;              // the effect's camera
    int32_t driftSteps = 0; // frames of one drift of CARotVel or YDelta
    float spinStep[3] = {}; // running drift of CARotVel
    int32_t spinLeft = 0;
    float spacingLeft = 0.0f; // running drift of YDelta
    float spacingStep = 0.0f;
    float colourStep[4] = {}; // running colour fade, R, G, B, A on a 0 to 255 scale
    float colourNow[4] = {};
    int32_t colourLeft = 0;
    int32_t kickTimer = 0; // frames to the next random kick of CARotVel (watch-only)

    Effect();
    // Frees whatever copies are left.
    ~Effect();
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    // Loads the square, places the camera 60 units in front of the origin and
    // applies the start-up values. False when the square cannot be loaded.
    bool Start();
    // One frame: the drifts while drifting is on, in every show the colour
    // fade, then Draw. The caller has switched the depth buffer off. Returns 1.
    int Update();

    // The watch-only show drifts by itself; the options screen turns this off
    // for its interactive show, where the user sets the values.
    bool drifting = true;
    // Ripple, placement and drawing of every copy with additive blending, in the
    // effect's own view (CurrentView is put back). Returns 1.
    int Draw();
    // Frees every copy and the mesh.
    void Release();

    void SetTwist(uint8_t t) { master.Twist = t; }
    // Grows the list to n copies (new copies idle, at the origin, random colours
    // with alpha 128) or shrinks it from the end.
    void SetNum(int32_t n);
    void SetDelay(float v) { Delay = v; }
    // A factor of exactly 0 leaves that axis as it is.
    void SetPScale(float x, float y);
    void SetYDelta(float v) { YDelta = v; }
    void SetCADist(float v);
    void SetPRotVel(float x, float y, float z);
    void SetPCenter(float x, float y);
    void SetCARotVel(float x, float y, float z);
    // Every copy k gets the axis rotation k × (x, y, z) at once.
    void SetPCAxisRot(float x, float y, float z);
    void SetCentrePosition(float x, float y, float z) { centre.SetPosition(x, y, z); }
    void SetColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
    // The options screen's Reset: no spin, no turning, unscaled squares.
    void Reset();

    int32_t CopyCount() const { return static_cast<int32_t>(instances.GetCount()); }
    // The object-to-view matrix of copy in the order its record's Twist selects,
    // against CurrentView.
    Matrix ComposeMatrix(const EffectInstance& copy) const;

private:
    // Gives every point of copy the colour of its record.
    static void PaintCopy(EffectInstance& copy);
    void TakeValues(EffectInstance& copy, const EffectRecord& source);
    void FreeLastCopy();
    float meshRadius = 0.0f; // the square's own bounding radius, unscaled
};

// The program's one effect, owned by the options screen.
extern Effect theEffect;
