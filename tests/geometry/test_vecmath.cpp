// Matrix arithmetic: rotation conventions, products, scaling.
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
    // The one-axis sign conventions.
    EXPECT_TRUE(VectorNear(ry.TransformPoint({0, 0, 1}), {-std::sin(heading), 0, std::cos(heading)},
                           1e-5f));
    EXPECT_TRUE(
        VectorNear(rx.TransformPoint({0, 1, 0}), {0, std::cos(pitch), -std::sin(pitch)}, 1e-5f));
    EXPECT_TRUE(
        VectorNear(rz.TransformPoint({1, 0, 0}), {std::cos(bank), -std::sin(bank), 0}, 1e-5f));
    for (const Vector3& p : {Vector3{1, 0, 0}, Vector3{0, 1, 0}, Vector3{2.5f, -1.5f, 4}})
        EXPECT_TRUE(VectorNear(hpb.TransformPoint(p),
                               ry.TransformPoint(rx.TransformPoint(rz.TransformPoint(p))), 1e-5f));
}

// Products compose left first and are summed in double: 1 + 2^-24 - 1 is lost in float.
TEST(Matrix, ProductsComposeLeftFirstInDouble) {
    Matrix turn, move, product;
    turn.SetRotationZ(0.5f);
    move.SetIdentity();
    move.SetTranslation(10, 20, 30);
    product.SetProduct(turn, move);
    const Vector3 p{1, 2, 3};
    EXPECT_TRUE(
        VectorNear(product.TransformPoint(p), move.TransformPoint(turn.TransformPoint(p)), 1e-5f));
    Matrix a, b;
    a.m[0][0] = a.m[0][1] = a.m[0][2] = b.m[0][0] = 1.0f;
    b.m[1][0] = 1.0f / 16777216.0f;
    b.m[2][0] = -1.0f;
    product.SetProduct(a, b);
    EXPECT_EQ(product.m[0][0], 1.0f / 16777216.0f);
}

TEST(Matrix, PostScaleScalesTranslationAndNormalizeColumnsUndoesOnlyTheScale) {
    Matrix m;
    m.SetIdentity();
    m.SetTranslation(1, 2, 3);
    m.PostScale(2, 2, 2);
    EXPECT_TRUE(VectorNear(m.GetTranslation(), {2, 4, 6}, 0));
    m.SetRotationZ(0.3f);
    m.PostScale(2, 5, 0.5f);
    m.SetTranslation(4, 5, 6);
    m.NormalizeColumns();
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(std::hypot(double(m.m[0][c]), double(m.m[1][c]), double(m.m[2][c])), 1.0, 1e-6);
    EXPECT_TRUE(VectorNear(m.GetTranslation(), {4, 5, 6}, 0));
}

} // namespace
