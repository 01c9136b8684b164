// The effect: copies, ripple, drift, colour fade and drawing.
#include "effect/effect.h"

#include "effect/params.h"
#include "glide/glide.h"
#include "render/pipeline.h"

#include <cmath>
#include <cstdlib>
#include <new>

Effect theEffect;

namespace {

// The hues the colour fade moves between (R, G, B).
constexpr uint8_t palette[6][3] = {
    {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0, 255, 255}, {255, 255, 0}, {255, 0, 255},
};
constexpr int32_t PaletteSize = 6;
constexpr int32_t FadeSteps = 20;       // frames of one colour fade
constexpr int32_t DriftFrames = 100;    // frames of one spin or spacing drift
constexpr float RippleCountdown = 2.0f; // frames a copy holds new values before handing on
constexpr uint8_t NewCopyAlpha = 128;

// Where the arrangement turns about: not a parameter, set by Start and Reset alike.
constexpr float CentreX = 0.0f, CentreY = 0.0f, CentreZ = 10.0f;

// How far an accumulated rotation may stray from orthonormal (relative length,
// or cosine between axes) before it is straightened.
constexpr double RotationTolerance = 1e-4;

// A spin applied every frame compounds its rounding: the float rotation of one
// frame is not exactly orthonormal, so left alone the accumulated matrix grows
// by about 1.6e-8 per frame at the start-up spin (0.17 % per 100 000 frames,
// several per cent over a day) and shears as well. matrix is a rotation whose
// columns were scaled by scale (Scale's post-multiplication); once it strays by
// more than the tolerance its rotation is made orthonormal again and the scale
// put back. Within the tolerance the matrix is left exactly as it is.
void KeepRotation(Matrix& matrix, const float scale[3]) {
    double u[3][3]; // u[j] = column j without its scale
    for (int j = 0; j < 3; ++j) {
        if (scale[j] == 0.0f)
            return;
        for (int r = 0; r < 3; ++r)
            u[j][r] = static_cast<double>(matrix.m[r][j]) / scale[j];
    }
    auto dot = [](const double* a, const double* b) {
        return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    };
    bool straight = true;
    for (int j = 0; j < 3 && straight; ++j)
        straight = std::fabs(std::sqrt(dot(u[j], u[j])) - 1.0) <= RotationTolerance;
    straight = straight && std::fabs(dot(u[0], u[1])) <= RotationTolerance &&
               std::fabs(dot(u[0], u[2])) <= RotationTolerance &&
               std::fabs(dot(u[1], u[2])) <= RotationTolerance;
    if (straight)
        return;
    // Gram-Schmidt on the columns, in axis order.
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < j; ++i) {
            const double along = dot(u[j], u[i]);
            for (int r = 0; r < 3; ++r)
                u[j][r] -= along * u[i][r];
        }
        const double length = std::sqrt(dot(u[j], u[j]));
        if (length < 1e-12)
            return; // degenerate: nothing sensible to restore
        for (int r = 0; r < 3; ++r)
            u[j][r] /= length;
    }
    for (int j = 0; j < 3; ++j)
        for (int r = 0; r < 3; ++r)
            matrix.m[r][j] = static_cast<float>(u[j][r] * scale[j]);
}

EffectRecord& RecordOf(EffectInstance& copy) {
    return *reinterpret_cast<EffectRecord*>(copy.userData);
}

} // namespace

Effect::Effect() {
    master.PScaleX = 1.0f;
    master.PScaleY = 1.0f;
    master.Twist = 0;
}

Effect::~Effect() {
    Release();
}

bool Effect::Start() {
    // A start after a Release begins where the first one did: the arrangement
    // unturned, no drift or fade under way.
    centre.matrix.SetIdentity();
    spacingLeft = 0.0f;
    spinLeft = 0;
    colourNow[0] = 100.0f;
    colourNow[1] = 120.0f;
    colourNow[2] = 140.0f;
    colourNow[3] = 128.0f;
    colourLeft = 0;
    driftSteps = DriftFrames;

    if (!mesh.Load("data\\Square.lwo"))
        return false;
    // The square's own radius, so that a copy's radius can follow its scale.
    {
        ObjectInstance probe;
        probe.mesh = &mesh;
        probe.ComputeRadius();
        meshRadius = probe.radius;
    }

    view.Setup(showWidth, showHeight, 60, 0, 0);
    view.SetPosition(0.0f, 0.0f, -60.0f);

    // The parameters' start-up values (params.h); Num makes the copies.
    ApplyStartValues(*this);
    SetCentrePosition(CentreX, CentreY, CentreZ);
    return true;
}

void Effect::Reset() {
    ApplyResetValues(*this);
    SetCentrePosition(CentreX, CentreY, CentreZ);
}

void Effect::SetNum(int32_t n) {
    int32_t d = n - CopyCount();
    if (d > 0) {
        for (; d > 0; --d) {
            EffectInstance* copy = new (std::nothrow) EffectInstance;
            if (!copy)
                break; // out of memory: keep the copies there are
            EffectRecord& r = copy->record;
            r = EffectRecord{};
            r.pivot.SetIdentity();
            r.axisRotation.SetIdentity();
            copy->userData = reinterpret_cast<uintptr_t>(&r);
            copy->AttachMesh(&mesh);
            copy->SetPosition(0.0f, 0.0f, 0.0f);
            if (!copy->pointColours || !copy->viewPoints || !instances.Append(copy)) {
                delete copy;
                break;
            }
            for (int i = 0; i < mesh.pointCount; ++i) {
                // Three draws per point in the order R, G, B.
                const uint8_t red = static_cast<uint8_t>(std::rand() % 255);
                const uint8_t green = static_cast<uint8_t>(std::rand() % 255);
                const uint8_t blue = static_cast<uint8_t>(std::rand() % 255);
                copy->pointColours[i] = Colour{red, green, blue, NewCopyAlpha};
            }
        }
        SetPCAxisRot(PCAxisRot[0], PCAxisRot[1], PCAxisRot[2]);
    } else {
        for (; d < 0; ++d)
            FreeLastCopy();
    }
}

void Effect::FreeLastCopy() {
    if (!instances.Last())
        return;
    // Last() leaves the cursor on the tail node.
    delete static_cast<EffectInstance*>(instances.Current());
    instances.RemoveCurrent();
}

void Effect::Release() {
    while (instances.First()) {
        delete static_cast<EffectInstance*>(instances.Current());
        instances.RemoveCurrent();
    }
    mesh.Release();
}

void Effect::SetPScale(float x, float y) {
    if (x != 0.0f)
        master.PScaleX = x;
    if (y != 0.0f)
        master.PScaleY = y;
    changed = 1;
}

void Effect::SetCADist(float v) {
    master.CADist = v;
    changed = 1;
}

void Effect::SetPRotVel(float x, float y, float z) {
    master.PRotVel[0] = x;
    master.PRotVel[1] = y;
    master.PRotVel[2] = z;
    changed = 1;
}

void Effect::SetPCenter(float x, float y) {
    PCenterX = x;
    PCenterY = y;
    master.pivot.SetIdentity();
    master.pivot.SetTranslation(x, y, 0.0f);
    changed = 1;
}

void Effect::SetCARotVel(float x, float y, float z) {
    CARotVel[0] = x;
    CARotVel[1] = y;
    CARotVel[2] = z;
}

void Effect::SetPCAxisRot(float x, float y, float z) {
    PCAxisRot[0] = x;
    PCAxisRot[1] = y;
    PCAxisRot[2] = z;
    int32_t k = 0;
    for (bool more = instances.First(); more; more = instances.Next(), ++k) {
        EffectRecord& r = RecordOf(*static_cast<EffectInstance*>(instances.Current()));
        const float fk = static_cast<float>(k);
        r.axisRotation.SetIdentity();
        r.axisRotation.SetRotationHPB(fk * x, fk * y, fk * z);
    }
}

void Effect::SetColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    master.colour = Colour{r, g, b, a};
    changed = 1;
}

int Effect::Update() {
    if (drifting) {
        // The turning of the arrangement glides towards a random target.
        if (spinLeft != 0) {
            for (int i = 0; i < 3; ++i)
                CARotVel[i] += spinStep[i];
            --spinLeft;
        }
        if (spinLeft == 0) {
            float target[3];
            for (int i = 2; i >= 0; --i) // drawn in the order z, y, x
                target[i] = static_cast<float>((std::rand() % 10) * 0.01 - 0.05);
            spinLeft = driftSteps;
            for (int i = 0; i < 3; ++i)
                spinStep[i] = (target[i] - CARotVel[i]) / static_cast<float>(driftSteps);
        }
        // So does the spacing of the copies.
        if (spacingLeft != 0.0f) {
            SetYDelta(spacingStep + YDelta);
            spacingLeft -= 1.0f;
        }
        if (spacingLeft == 0.0f) {
            const float target = static_cast<float>((std::rand() % 100) * 0.01);
            spacingStep = (target - YDelta) / static_cast<float>(driftSteps);
            spacingLeft = static_cast<float>(driftSteps);
        }
        // Now and then a kick sets the turning outright; a running spin drift
        // goes on adding its steps to the new value.
        if (kickTimer < 1) {
            kickTimer = std::rand() % 1000;
            float kick[3];
            for (int i = 2; i >= 0; --i) // drawn in the order z, y, x
                kick[i] = static_cast<float>((std::rand() % 3) * 0.01 - 0.01);
            SetCARotVel(kick[0], kick[1], kick[2]);
        } else {
            --kickTimer;
        }
    }

    // The colour fades towards a new hue with a new transparency every 20 frames.
    if (colourLeft != 0) {
        for (int i = 0; i < 4; ++i)
            colourNow[i] += colourStep[i];
        SetColour(static_cast<uint8_t>(colourNow[0]), static_cast<uint8_t>(colourNow[1]),
                  static_cast<uint8_t>(colourNow[2]), static_cast<uint8_t>(colourNow[3]));
        --colourLeft;
    }
    if (colourLeft == 0) {
        const int k = std::rand() % PaletteSize;
        const int alpha = std::rand() % 255;
        const float target[4] = {static_cast<float>(palette[k][0]),
                                 static_cast<float>(palette[k][1]),
                                 static_cast<float>(palette[k][2]), static_cast<float>(alpha)};
        colourLeft = FadeSteps;
        for (int i = 0; i < 4; ++i)
            colourStep[i] = (target[i] - colourNow[i]) * (1.0f / static_cast<float>(FadeSteps));
    }

    Draw();
    return 1;
}

void Effect::PaintCopy(EffectInstance& copy) {
    if (!copy.mesh || !copy.pointColours)
        return;
    const Colour c = copy.record.colour;
    for (int i = 0; i < copy.mesh->pointCount; ++i)
        copy.pointColours[i] = c;
}

void Effect::TakeValues(EffectInstance& copy, const EffectRecord& source) {
    EffectRecord& r = copy.record;
    if (!(r.PScaleX == 1.0f && r.PScaleY == 1.0f))
        copy.Scale(1.0f / r.PScaleX, 1.0f / r.PScaleY, 1.0f);
    r.countdown = source.countdown;
    for (int i = 0; i < 3; ++i)
        r.PRotVel[i] = source.PRotVel[i];
    r.PScaleX = source.PScaleX;
    r.PScaleY = source.PScaleY;
    r.CADist = source.CADist;
    r.source = source.source;
    r.Twist = source.Twist;
    r.colour = source.colour;
    r.pivot = source.pivot;
    PaintCopy(copy);
    if (!(r.PScaleX == 1.0f && r.PScaleY == 1.0f))
        copy.Scale(r.PScaleX, r.PScaleY, 1.0f);
    // Scale multiplies the radius by the largest factor on every take, undo
    // included, so it would grow without bound; a copy's radius is its square's,
    // scaled by its current record.
    float largest = r.PScaleX;
    if (largest < r.PScaleY)
        largest = r.PScaleY;
    if (largest < 1.0f)
        largest = 1.0f;
    copy.radius = meshRadius * largest;
    r.countdown = RippleCountdown;
    r.source = nullptr;
}

Matrix Effect::ComposeMatrix(const EffectInstance& copy) const {
    const EffectRecord& r = copy.record;
    const Matrix& P = r.pivot;
    const Matrix& I = copy.matrix;
    const Matrix& B = r.axisRotation;
    const Matrix& G = centre.matrix;
    const Matrix& V = CurrentView->viewMatrix;
    Matrix left, right, combined, result;
    switch (r.Twist) {
    case 1: // copy, copy again, axis rotation: neither pivot nor centre
        right.SetProduct(I, B);
        combined.SetProduct(I, right);
        break;
    case 2: // centre, copy, axis rotation
        right.SetProduct(I, B);
        combined.SetProduct(G, right);
        break;
    case 3: // centre, axis rotation, copy
        right.SetProduct(B, I);
        combined.SetProduct(G, right);
        break;
    default: // 0: pivot, copy, axis rotation, centre
        left.SetProduct(P, I);
        right.SetProduct(B, G);
        combined.SetProduct(left, right);
        break;
    }
    result.SetProduct(combined, V);
    return result;
}

int Effect::Draw() {
    View* const previousView = CurrentView;
    CurrentView = &view;

    // A change starts its ripple once the first copy is idle again.
    EffectRecord* pending = nullptr;
    if (changed != 0 && instances.First()) {
        EffectInstance& first = *static_cast<EffectInstance*>(instances.Current());
        if (first.record.countdown == 0.0f) {
            changed = 0;
            pending = &master;
        }
    }

    // Ripple: each copy takes the values its predecessor held and, two frames
    // later, hands them on. A record handed on by the last copy is dropped.
    for (bool more = instances.First(); more; more = instances.Next()) {
        EffectInstance& copy = *static_cast<EffectInstance*>(instances.Current());
        EffectRecord& r = copy.record;
        if (pending) {
            r.source = pending;
            pending = nullptr;
        }
        if (r.countdown == 0.0f && r.source)
            TakeValues(copy, *r.source);
        if (r.countdown != 0.0f) {
            r.countdown -= 1.0f;
            if (r.countdown <= 0.0f) {
                r.countdown = 0.0f;
                pending = &r;
            }
        }
    }

    // Placement: stacked along y about the centre, spin accumulating in each
    // copy's own matrix.
    const int32_t n = CopyCount();
    int32_t k = 0;
    for (bool more = instances.First(); more; more = instances.Next(), ++k) {
        EffectInstance& copy = *static_cast<EffectInstance*>(instances.Current());
        const EffectRecord& r = copy.record;
        const float stacked = static_cast<float>(k) * YDelta;
        const double y = static_cast<double>(stacked) -
                         static_cast<double>(n) * static_cast<double>(YDelta) * 0.5;
        copy.SetPosition(r.CADist, static_cast<float>(y), 0.0f);
        copy.Rotate(r.PRotVel[0], r.PRotVel[1], r.PRotVel[2]);
        const float scale[3] = {r.PScaleX, r.PScaleY, 1.0f};
        KeepRotation(copy.matrix, scale);
    }
    centre.Rotate(CARotVel[0], CARotVel[1], CARotVel[2]);
    const float unscaled[3] = {1.0f, 1.0f, 1.0f};
    KeepRotation(centre.matrix, unscaled);

    // Additive glow: colour = source × source alpha + destination.
    guAlphaSource(GR_ALPHASOURCE_ITERATED_ALPHA);
    grAlphaBlendFunction(GR_BLEND_SRC_ALPHA, GR_BLEND_ONE, GR_BLEND_ONE, GR_BLEND_ZERO);

    // The copies are never classified: they keep clipping against all six planes.
    for (bool more = instances.First(); more; more = instances.Next()) {
        EffectInstance& copy = *static_cast<EffectInstance*>(instances.Current());
        if (!copy.viewPoints)
            continue;
        const Matrix toView = ComposeMatrix(copy);
        for (int i = 0; i < mesh.pointCount; ++i)
            copy.viewPoints[i] = toView.TransformPoint(mesh.points[i]);
        DrawPolygons(copy);
    }

    CurrentView = previousView;
    return 1;
}
