// Vector and matrix arithmetic: rotation conventions, products and column 3.
#include "geometry/vecmath.h"
#include "tests/support/geometry_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>

using testsupport::VectorNear;

namespace {

TEST(Matrix, HpbIsBankThenPitchThenHeadingOfTheOneAxisRotations) {
    const float pitch = 0.3f, heading = 1.1f, bank = -0.8f;
    Matrix hpb, rx, ry, rz;
    hpb.SetRotationHPB(pitch, heading, bank);
    rx.SetRotationX(pitch);
    ry.SetRotationY(heading);
    rz.SetRotationZ(bank);
    // The one-axis sign conventions, and the negated sine is the rounded sine negated.
    EXPECT_TRUE(VectorNear(ry.TransformPoint({0, 0, 1}), {-std::sin(heading), 0, std::cos(heading)}, 1e-5f));
    EXPECT_TRUE(VectorNear(rx.TransformPoint({0, 1, 0}), {0, std::cos(pitch), -std::sin(pitch)}, 1e-5f));
    EXPECT_TRUE(VectorNear(rz.TransformPoint({1, 0, 0}), {std::cos(bank), -std::sin(bank), 0}, 1e-5f));
    EXPECT_EQ(rz.m[0][1], -rz.m[1][0]);
    for (const Vector3& p : {Vector3{1, 0, 0}, Vector3{0, 1, 0}, Vector3{2.5f, -1.5f, 4}})
        EXPECT_TRUE(VectorNear(hpb.TransformPoint(p),
                               ry.TransformPoint(rx.TransformPoint(rz.TransformPoint(p))), 1e-5f));
}

TEST(Matrix, ProductsComposeLeftFirstInDoubleAndLeaveColumnThreeAlone) {
    Matrix turn, move, marked;
    turn.SetRotationZ(0.5f);
    move.SetIdentity();
    move.SetTranslation(10, 20, 30);
    const Vector3 p{1, 2, 3}, expected = move.TransformPoint(turn.TransformPoint(p));
    // Neither the target's column 3 nor the operands' takes part.
    marked.m[0][3] = 7;
    marked.m[3][3] = 9;
    turn.m[2][3] = 100;
    move.m[1][3] = -100;
    marked.SetProduct(turn, move);
    EXPECT_EQ(marked.m[0][3], 7.0f);
    EXPECT_EQ(marked.m[3][3], 9.0f);
    EXPECT_TRUE(VectorNear(marked.TransformPoint(p), expected, 1e-5f));

    // 1 + 2^-24 − 1 is lost in float but kept in double.
    Matrix a, b, product;
    a.m[0][0] = a.m[0][1] = a.m[0][2] = b.m[0][0] = 1.0f;
    b.m[1][0] = 1.0f / 16777216.0f;
    b.m[2][0] = -1.0f;
    product.SetProduct(a, b);
    EXPECT_EQ(product.m[0][0], 1.0f / 16777216.0f);
    EXPECT_EQ(product.m[3][3], 0.0f); // a fresh target keeps its zero column 3
}

TEST(Matrix, PostScaleScalesTranslationAndNormalizeColumnsUndoesOnlyTheScale) {
    Matrix m;
    m.SetIdentity();
    m.SetTranslation(1, 2, 3);
    m.m[0][3] = 5; // column 3 ends as the identity's
    m.PostScale(2, 2, 2);
    EXPECT_TRUE(VectorNear(m.GetTranslation(), {2, 4, 6}, 0));
    EXPECT_EQ(m.m[0][3], 0.0f);
    EXPECT_EQ(m.m[3][3], 1.0f);
    m.SetRotationZ(0.3f);
    m.PostScale(2, 5, 0.5f);
    m.SetTranslation(4, 5, 6);
    m.NormalizeColumns();
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(std::hypot(double(m.m[0][c]), double(m.m[1][c]), double(m.m[2][c])), 1.0, 1e-6);
    EXPECT_TRUE(VectorNear(m.GetTranslation(), {4, 5, 6}, 0));
}

} // namespace
