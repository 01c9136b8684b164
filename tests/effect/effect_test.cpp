// The effect: ripple, placement, drift, colour fade, copies and matrices.
#include "effect/effect.h"
#include "effect/options.h"
#include "tests/effect/effect_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using effect_test::Workspace;

std::vector<EffectInstance*> Copies(Effect& effect) {
    std::vector<EffectInstance*> copies;
    for (bool more = effect.instances.First(); more; more = effect.instances.Next())
        copies.push_back(static_cast<EffectInstance*>(effect.instances.Current()));
    return copies;
}

// The rotation-and-scale parts of two matrices are the same bit for bit.
bool SameTurn(const Matrix& a, const Matrix& b) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            if (a.m[r][c] != b.m[r][c])
                return false;
    return true;
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
    Settle(); // every copy at the start distance, 10
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
    for (int i = 0; i < 11; ++i) // from frame 3 the second ripple follows the first
        effect.Draw();
    // Both ripples travel one copy per frame, one frame apart.
    EXPECT_EQ(copies[10]->GetPosition().x, 30.0f);
    EXPECT_EQ(copies[11]->GetPosition().x, 20.0f);
    EXPECT_EQ(copies[13]->GetPosition().x, 10.0f);
}

TEST_F(EffectTest, TakingValuesUndoesTheOldScaleFirst) {
    effect.SetPRotVel(0.0f, 0.0f, 0.0f); // keep the copies' matrices unturned
    Settle();
    EffectInstance& first = *Copies(effect)[0];
    effect.SetPScale(0.0f, 5.0f); // only y changes; x, retaken, stays 100 rather than 100²
    effect.Draw();
    EXPECT_FLOAT_EQ(first.matrix.m[0][0], 100.0f);
    EXPECT_FLOAT_EQ(first.matrix.m[1][1], 5.0f);
}

TEST_F(EffectTest, RadiusFollowsTheScaleInsteadOfGrowingOnEveryTake) {
    for (int i = 0; i < 200; ++i) {
        effect.SetColour(1, 2, 3, static_cast<uint8_t>(i));
        effect.Draw();
    }
    EXPECT_NEAR(Copies(effect)[0]->radius, 100.0f * std::sqrt(2.0f), 1e-3f);
}

// Length of column j of the rotation part.
double ColumnLength(const Matrix& m, int j) {
    return std::sqrt(double(m.m[0][j]) * m.m[0][j] + double(m.m[1][j]) * m.m[1][j] +
                     double(m.m[2][j]) * m.m[2][j]);
}

TEST_F(EffectTest, AccumulatedSpinsStayRotations) {
    Settle();
    EffectInstance& first = *Copies(effect)[0];
    // Rounding over a long run, exaggerated: a one per cent stretch and a shear.
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
}

TEST_F(EffectTest, GrowingAppendsIdleCopiesAndShrinkingRemovesFromTheEnd) {
    Settle();
    const std::vector<EffectInstance*> before = Copies(effect);
    effect.SetNum(150);
    std::vector<EffectInstance*> copies = Copies(effect);
    ASSERT_EQ(copies.size(), 150u);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), copies.begin()));
    for (int k = 100; k < 150; ++k) // idle until a ripple reaches them
        EXPECT_TRUE(copies[k]->record.countdown == 0.0f && copies[k]->GetPosition().x == 0.0f) << k;
    effect.SetNum(10);
    copies = Copies(effect);
    EXPECT_EQ(copies, std::vector<EffectInstance*>(before.begin(), before.begin() + 10));
}

// Reset is not the start: the scale goes and both spins stop, the rest is as at the start.
TEST_F(EffectTest, ResetStopsBothSpinsAndUnscales) {
    effect.SetNum(37);
    effect.SetPCenter(5.0f, 6.0f);
    effect.SetPCAxisRot(1.0f, 2.0f, 3.0f);
    effect.SetCADist(33.0f);
    effect.SetYDelta(2.0f);
    effect.SetDelay(4.0f);
    effect.SetTwist(2);
    effect.Reset();
    const float others[] = {
        effect.master.PScaleX, effect.master.PScaleY,      effect.Delay,
        effect.YDelta,         effect.master.CADist,       effect.PCenterX,
        effect.PCenterY,       effect.PCAxisRot[0],        effect.PCAxisRot[1],
        effect.PCAxisRot[2],   float(effect.master.Twist), float(effect.CopyCount())};
    EXPECT_EQ(std::vector<float>(std::begin(others), std::end(others)),
              (std::vector<float>{1, 1, 2, 0.5f, 10, 0, 0, 0, 0.1f, 0, 0, 100}));
    Settle();
    const Matrix centre = effect.centre.matrix;
    const Matrix copy = Copies(effect)[99]->matrix;
    effect.Draw();
    EXPECT_TRUE(SameTurn(effect.centre.matrix, centre));
    EXPECT_TRUE(SameTurn(Copies(effect)[99]->matrix, copy));
}

TEST_F(EffectTest, CopiesAreStackedAboutTheCentre) {
    effect.Draw();
    const std::vector<EffectInstance*> copies = Copies(effect);
    for (int k = 0; k < 100; ++k)
        EXPECT_EQ(copies[k]->GetPosition().y, -25.0f + 0.5f * static_cast<float>(k)) << k;
}

// The fade runs from red 100 a twentieth a frame to a random palette hue (reds below).
TEST_F(EffectTest, ColourFadesFromTheStartColourTowardsAPaletteHue) {
    static const int paletteRed[6] = {255, 0, 0, 0, 255, 255};
    std::srand(4242);
    const int target = paletteRed[std::rand() % 6];
    std::srand(4242);
    effect.Update(); // starts the fade only
    EXPECT_EQ(effect.master.colour.a, 0);
    effect.Update();
    EXPECT_EQ(effect.master.colour.r, static_cast<int>(100.0f + (target - 100.0f) / 20.0f));
    for (int i = 0; i < 19; ++i)
        effect.Update();
    EXPECT_NEAR(effect.colourNow[0], target, 0.01f);
}

// Drifting, the spacing glides in 100 frames to a random one of {0, 0.01, ..., 0.99}.
TEST_F(EffectTest, OnlyADriftingEffectDrifts) {
    for (int i = 0; i < 150; ++i)
        effect.Update();
    EXPECT_EQ(effect.YDelta, 0.5f);
    effect.drifting = true;
    for (int i = 0; i < 101; ++i)
        effect.Update();
    const float hundredths = effect.YDelta * 100.0f;
    EXPECT_TRUE(std::fabs(hundredths - std::round(hundredths)) < 1e-2f && hundredths > -0.5f &&
                hundredths < 99.5f)
        << effect.YDelta;
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
    EXPECT_EQ(CurrentView, &other);
}

} // namespace
