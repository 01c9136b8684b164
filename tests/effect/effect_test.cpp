// The effect: ripple, placement, drift, colour fade, copies and matrices.
#include "effect/effect.h"
#include "effect/options.h"
#include "tests/effect/effect_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

using effect_test::Workspace;

std::vector<EffectInstance*> Copies(Effect& effect) {
    std::vector<EffectInstance*> copies;
    for (bool more = effect.instances.First(); more; more = effect.instances.Next())
        copies.push_back(static_cast<EffectInstance*>(effect.instances.Current()));
    return copies;
}

class EffectTest : public ::testing::Test {
protected:
    void SetUp() override {
        effect.drifting = false; // no drift unless a test asks for it
        std::srand(12345);
        ASSERT_TRUE(effect.Start());
    }
    void TearDown() override { effect.Release(); }

    // Draws until the start-up ripple has reached every copy and every copy is idle.
    void Settle() {
        for (int i = 0; i < effect.CopyCount() + 3; ++i)
            effect.Draw();
    }

    Workspace workspace;
    Effect effect;
};

TEST_F(EffectTest, StartNeedsTheSquareAndStartsAgainAfterRelease) {
    effect.Release();
    EXPECT_EQ(effect.CopyCount(), 0);
    effect.Draw(); // nothing to draw, nothing to crash on
    ASSERT_TRUE(effect.Start());
    EXPECT_EQ(effect.CopyCount(), 100);
    std::remove("data/Square.lwo");
    Effect missing;
    EXPECT_FALSE(missing.Start());
    EXPECT_EQ(missing.CopyCount(), 0);
}

TEST_F(EffectTest, ChangeRipplesOneCopyPerFrame) {
    Settle();
    for (EffectInstance* copy : Copies(effect)) {
        ASSERT_EQ(copy->GetPosition().x, 10.0f);
        ASSERT_EQ(copy->record.countdown, 0.0f);
    }
    effect.SetCADist(20.0f);
    for (int frame = 1; frame <= 100; ++frame) {
        effect.Draw();
        const std::vector<EffectInstance*> copies = Copies(effect);
        // Copy k takes the value in frame k + 1.
        for (int k = 0; k < 100; ++k)
            ASSERT_EQ(copies[k]->GetPosition().x, k < frame ? 20.0f : 10.0f)
                << "frame " << frame << " copy " << k;
    }
    EXPECT_EQ(effect.changed, 0);
}

TEST_F(EffectTest, ChangeDuringCountdownStartsOneFrameLater) {
    Settle();
    effect.SetCADist(20.0f);
    effect.Draw(); // frame 1: copy 0 takes 20 and counts down
    effect.SetCADist(30.0f);
    effect.Draw(); // frame 2: copy 0 still busy; the new ripple waits
    std::vector<EffectInstance*> copies = Copies(effect);
    EXPECT_EQ(copies[0]->GetPosition().x, 20.0f);
    EXPECT_EQ(copies[1]->GetPosition().x, 20.0f);
    EXPECT_EQ(effect.changed, 1);
    effect.Draw(); // frame 3: the second ripple starts
    EXPECT_EQ(copies[0]->GetPosition().x, 30.0f);
    EXPECT_EQ(copies[2]->GetPosition().x, 20.0f);
    for (int i = 0; i < 10; ++i)
        effect.Draw();
    // Both ripples travel one copy per frame, one frame apart.
    EXPECT_EQ(copies[10]->GetPosition().x, 30.0f);
    EXPECT_EQ(copies[11]->GetPosition().x, 20.0f);
    EXPECT_EQ(copies[12]->GetPosition().x, 20.0f);
    EXPECT_EQ(copies[13]->GetPosition().x, 10.0f);
}

TEST_F(EffectTest, TakingValuesUndoesTheOldScaleFirst) {
    effect.SetPRotVel(0.0f, 0.0f, 0.0f); // keep the copies' matrices unturned
    Settle();
    EffectInstance& first = *Copies(effect)[0];
    EXPECT_FLOAT_EQ(first.matrix.m[0][0], 100.0f);
    EXPECT_FLOAT_EQ(first.matrix.m[1][1], 1.0f);

    effect.SetPScale(0.0f, 5.0f); // only y changes
    EXPECT_EQ(effect.master.PScaleX, 100.0f);
    EXPECT_EQ(effect.master.PScaleY, 5.0f);
    effect.Draw();
    EXPECT_FLOAT_EQ(first.matrix.m[0][0], 100.0f);
    EXPECT_FLOAT_EQ(first.matrix.m[1][1], 5.0f);

    effect.SetPScale(1.0f, 1.0f);
    Settle();
    EXPECT_FLOAT_EQ(first.matrix.m[0][0], 1.0f);
    EXPECT_FLOAT_EQ(first.matrix.m[1][1], 1.0f);

    // With both factors 1 no scale is applied at all: the matrix stays bit for bit.
    const Matrix before = first.matrix;
    effect.SetCADist(3.0f);
    effect.Draw();
    EXPECT_EQ(first.GetPosition().x, 3.0f);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(first.matrix.m[r][c], before.m[r][c]);
}

TEST_F(EffectTest, RadiusFollowsTheScaleInsteadOfGrowingOnEveryTake) {
    const float square = std::sqrt(2.0f);
    for (int i = 0; i < 200; ++i) {
        effect.SetColour(1, 2, 3, static_cast<uint8_t>(i));
        effect.Draw();
    }
    EffectInstance& first = *Copies(effect)[0];
    EXPECT_TRUE(std::isfinite(first.radius));
    EXPECT_NEAR(first.radius, 100.0f * square, 1e-3f);
}

// Length of column j of the rotation part.
double ColumnLength(const Matrix& m, int j) {
    return std::sqrt(double(m.m[0][j]) * m.m[0][j] + double(m.m[1][j]) * m.m[1][j] +
                     double(m.m[2][j]) * m.m[2][j]);
}

TEST_F(EffectTest, AccumulatedSpinsStayRotations) {
    Settle();
    EffectInstance& first = *Copies(effect)[0];
    // Rounding compounded over a long run, exaggerated: a one per cent stretch
    // and a shear.
    for (int r = 0; r < 3; ++r) {
        first.matrix.m[r][0] *= 1.01f;
        effect.centre.matrix.m[r][1] *= 0.99f;
    }
    first.matrix.m[0][1] += 0.02f;
    effect.Draw();
    EXPECT_NEAR(ColumnLength(first.matrix, 0), 100.0, 1e-3); // PScaleX kept
    EXPECT_NEAR(ColumnLength(first.matrix, 1), 1.0, 1e-5);
    EXPECT_NEAR(ColumnLength(first.matrix, 2), 1.0, 1e-5);
    double cross = 0.0;
    for (int r = 0; r < 3; ++r)
        cross += double(first.matrix.m[r][0]) / 100.0 * first.matrix.m[r][1];
    EXPECT_NEAR(cross, 0.0, 1e-5);
    for (int j = 0; j < 3; ++j)
        EXPECT_NEAR(ColumnLength(effect.centre.matrix, j), 1.0, 1e-5) << j;

    // Over a long run the stretch stays within the tolerance.
    effect.SetNum(1);
    for (int i = 0; i < 20000; ++i)
        effect.Draw();
    EXPECT_NEAR(ColumnLength(first.matrix, 1), 1.0, 1.1e-4);
    EXPECT_NEAR(ColumnLength(effect.centre.matrix, 0), 1.0, 1.1e-4);
}

TEST_F(EffectTest, GrowingAppendsIdleCopiesAndShrinkingRemovesFromTheEnd) {
    Settle();
    const std::vector<EffectInstance*> before = Copies(effect);
    effect.SetNum(150);
    std::vector<EffectInstance*> copies = Copies(effect);
    ASSERT_EQ(copies.size(), 150u);
    for (int k = 0; k < 100; ++k)
        EXPECT_EQ(copies[k], before[k]);
    for (int k = 100; k < 150; ++k) {
        const EffectInstance& copy = *copies[k];
        EXPECT_EQ(copy.record.countdown, 0.0f);
        EXPECT_EQ(copy.record.source, nullptr);
        EXPECT_EQ(copy.record.CADist, 0.0f);
        EXPECT_EQ(copy.GetPosition().x, 0.0f);
        EXPECT_EQ(reinterpret_cast<EffectRecord*>(copy.userData), &copy.record);
        for (int i = 0; i < effect.mesh.pointCount; ++i) {
            EXPECT_EQ(copy.pointColours[i].a, 128);
            EXPECT_LT(copy.pointColours[i].r, 255);
        }
        Matrix expected;
        expected.SetIdentity();
        expected.SetRotationHPB(0.0f, static_cast<float>(k) * 0.1f, 0.0f);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(copy.record.axisRotation.m[r][c], expected.m[r][c]);
    }
    effect.SetNum(10);
    copies = Copies(effect);
    ASSERT_EQ(copies.size(), 10u);
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(copies[k], before[k]);
    effect.SetNum(10);
    EXPECT_EQ(effect.CopyCount(), 10);
}

// Reset is not the start: the squares lose their scale and both spins stop, so
// once the ripple has passed nothing turns any more. The other values are those
// of the start.
TEST_F(EffectTest, ResetStopsBothSpinsAndUnscales) {
    effect.SetNum(37);
    effect.SetPScale(40.0f, 3.0f);
    effect.SetCARotVel(0.1f, -0.1f, 0.05f);
    effect.SetPRotVel(0.2f, 0.3f, -0.4f);
    effect.SetPCenter(5.0f, 6.0f);
    effect.SetPCAxisRot(1.0f, 2.0f, 3.0f);
    effect.SetYDelta(2.0f);
    effect.SetDelay(4.0f);
    effect.SetCADist(33.0f);
    effect.SetTwist(2);
    effect.Reset();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(effect.master.PRotVel[i], 0.0f) << i;
        EXPECT_EQ(effect.CARotVel[i], 0.0f) << i;
    }
    EXPECT_EQ(effect.master.PScaleX, 1.0f);
    EXPECT_EQ(effect.master.PScaleY, 1.0f);
    EXPECT_EQ(effect.CopyCount(), 100);
    EXPECT_EQ(effect.Delay, 2.0f);
    EXPECT_EQ(effect.YDelta, 0.5f);
    EXPECT_EQ(effect.master.CADist, 10.0f);
    EXPECT_EQ(effect.PCenterX, 0.0f);
    EXPECT_EQ(effect.PCenterY, 0.0f);
    EXPECT_EQ(effect.PCAxisRot[0], 0.0f);
    EXPECT_EQ(effect.PCAxisRot[1], 0.1f);
    EXPECT_EQ(effect.PCAxisRot[2], 0.0f);
    EXPECT_EQ(effect.master.Twist, 0);
    EXPECT_EQ(effect.centre.GetPosition().z, 10.0f);

    Settle();
    const Matrix centre = effect.centre.matrix;
    const Matrix copy = Copies(effect)[99]->matrix;
    effect.Draw();
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(effect.centre.matrix.m[r][c], centre.m[r][c]);
            EXPECT_EQ(Copies(effect)[99]->matrix.m[r][c], copy.m[r][c]);
        }
    }
}

TEST_F(EffectTest, CopiesAreStackedAboutTheCentre) {
    effect.Draw();
    const std::vector<EffectInstance*> copies = Copies(effect);
    for (int k = 0; k < 100; ++k)
        EXPECT_EQ(copies[k]->GetPosition().y, -25.0f + 0.5f * static_cast<float>(k)) << k;
}

TEST_F(EffectTest, ColourFadesFromTheStartColourTowardsAPaletteHue) {
    static const int palette[6][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                                      {0, 255, 255}, {255, 255, 0}, {255, 0, 255}};
    std::srand(4242);
    const int k = std::rand() % 6;
    const int alpha = std::rand() % 255;
    std::srand(4242);

    effect.Update(); // starts the fade only
    EXPECT_EQ(effect.master.colour.r, 0);
    EXPECT_EQ(effect.master.colour.a, 0);
    EXPECT_EQ(effect.colourLeft, 20);
    // The start-up ripple carries the colour (0, 0, 0, 0) to the first copy.
    EXPECT_EQ(Copies(effect)[0]->pointColours[0].a, 0);

    effect.Update();
    const float start[4] = {100.0f, 120.0f, 140.0f, 128.0f};
    const int target[4] = {palette[k][0], palette[k][1], palette[k][2], alpha};
    const uint8_t got[4] = {effect.master.colour.r, effect.master.colour.g, effect.master.colour.b,
                            effect.master.colour.a};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(got[i], static_cast<int>(start[i] + (target[i] - start[i]) / 20.0f)) << i;
    EXPECT_EQ(effect.changed, 1);

    // After 20 steps the colour stands at the target; the next fade starts.
    for (int i = 0; i < 19; ++i)
        effect.Update();
    EXPECT_NEAR(effect.colourNow[0], target[0], 0.01f);
    EXPECT_NEAR(effect.colourNow[3], target[3], 0.01f);
    EXPECT_EQ(effect.colourLeft, 20);
}

TEST_F(EffectTest, OnlyADriftingEffectDrifts) {
    for (int i = 0; i < 150; ++i)
        effect.Update();
    EXPECT_EQ(effect.YDelta, 0.5f);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(effect.CARotVel[i], 0.02f);

    effect.drifting = true;
    effect.Update(); // starts the drifts
    EXPECT_EQ(effect.spinLeft, 100);
    EXPECT_EQ(effect.spacingLeft, 100.0f);
    // Over 100 frames the turning drifts to a value in [-0.05, 0.04] from 0.02, the
    // spacing to one in [0, 0.99] from 0.5; at least one of them moves.
    bool moves = effect.spacingStep != 0.0f;
    for (int i = 0; i < 3; ++i) {
        EXPECT_LE(std::fabs(effect.spinStep[i]), 0.07f / 100 + 1e-7f) << i;
        moves = moves || effect.spinStep[i] != 0.0f;
    }
    EXPECT_TRUE(moves);
    EXPECT_LE(std::fabs(effect.spacingStep), 0.5f / 100 + 1e-7f);
    const float turning[3] = {effect.CARotVel[0], effect.CARotVel[1], effect.CARotVel[2]};
    const float spacing = effect.YDelta;
    effect.kickTimer = 10; // no kick in the next frame
    effect.Update();
    for (int i = 0; i < 3; ++i)
        EXPECT_FLOAT_EQ(effect.CARotVel[i], turning[i] + effect.spinStep[i]) << i;
    EXPECT_FLOAT_EQ(effect.YDelta, spacing + effect.spacingStep);
    EXPECT_EQ(effect.spinLeft, 99);
}

// Sends p through the stages one after another.
Vector3 Through(Vector3 p, std::initializer_list<const Matrix*> stages) {
    for (const Matrix* m : stages)
        p = m->TransformPoint(p);
    return p;
}

TEST_F(EffectTest, TwistSelectsTheOrderOfTheTransformations) {
    effect.SetPCenter(3.0f, -2.0f);
    effect.SetPCAxisRot(0.3f, 0.7f, 0.2f);
    for (int i = 0; i < 5; ++i)
        effect.Draw();
    CurrentView = &effect.view;
    EffectInstance& copy = *Copies(effect)[3];
    const Matrix& P = copy.record.pivot;
    const Matrix& I = copy.matrix;
    const Matrix& B = copy.record.axisRotation;
    const Matrix& G = effect.centre.matrix;
    const Matrix& V = effect.view.viewMatrix;
    const Vector3 p{1.5f, -0.5f, 0.25f};
    const Vector3 expected[4] = {Through(p, {&P, &I, &B, &G, &V}), Through(p, {&I, &I, &B, &V}),
                                 Through(p, {&G, &I, &B, &V}), Through(p, {&G, &B, &I, &V})};
    for (uint8_t twist = 0; twist < 4; ++twist) {
        copy.record.Twist = twist;
        const Vector3 got = effect.ComposeMatrix(copy).TransformPoint(p);
        EXPECT_NEAR(got.x, expected[twist].x, 1e-3f) << int(twist);
        EXPECT_NEAR(got.y, expected[twist].y, 1e-3f) << int(twist);
        EXPECT_NEAR(got.z, expected[twist].z, 1e-3f) << int(twist);
    }
    // Twist 1 ignores the centre altogether.
    copy.record.Twist = 1;
    const Vector3 before = effect.ComposeMatrix(copy).TransformPoint(p);
    effect.SetCentrePosition(0.0f, 40.0f, 30.0f);
    const Vector3 after = effect.ComposeMatrix(copy).TransformPoint(p);
    EXPECT_EQ(before.x, after.x);
    EXPECT_EQ(before.y, after.y);
}

TEST_F(EffectTest, FramesAllocateNothingAndPutTheCurrentViewBack) {
    effect.drifting = true;
    effect.Update(); // first frame outside the count
    View other;
    CurrentView = &other;
    const long made = effect_test::AllocationsDuring([&] {
        for (int i = 0; i < 300; ++i)
            effect.Update();
    });
    EXPECT_EQ(made, 0);
    EXPECT_EQ(effect.CopyCount(), 100);
    EXPECT_EQ(CurrentView, &other);
}

} // namespace
