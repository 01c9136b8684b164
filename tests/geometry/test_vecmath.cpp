// Vector and matrix arithmetic: rotation conventions, products and column 3.
#include "geometry/vecmath.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectNear(const Vector3& actual, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
    EXPECT_NEAR(actual.z, z, tolerance);
}

TEST(Matrix, OneAxisRotationsFollowTheirSignConventions) {
    const float angle = 0.7f;
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix x, y, z;
    x.SetRotationX(angle);
    y.SetRotationY(angle);
    z.SetRotationZ(angle);
    ExpectNear(y.TransformPoint({0, 0, 1}), -s, 0, c);
    ExpectNear(x.TransformPoint({0, 1, 0}), 0, c, -s);
    ExpectNear(z.TransformPoint({1, 0, 0}), c, -s, 0);
    // The negated sine is the negation of the rounded sine.
    EXPECT_EQ(z.m[0][1], -z.m[1][0]);
}

TEST(Matrix, HpbAppliesBankThenPitchThenHeadingWithPitchFirstInTheArguments) {
    const float pitch = 0.3f, heading = 1.1f, bank = -0.8f;
    Matrix hpb, rx, ry, rz;
    hpb.SetRotationHPB(pitch, heading, bank);
    rx.SetRotationX(pitch);
    ry.SetRotationY(heading);
    rz.SetRotationZ(bank);
    const Vector3 points[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {2.5f, -1.5f, 4}};
    for (const Vector3& p : points) {
        const Vector3 stepwise = ry.TransformPoint(rx.TransformPoint(rz.TransformPoint(p)));
        ExpectNear(hpb.TransformPoint(p), stepwise.x, stepwise.y, stepwise.z);
    }
    // Swapping pitch and heading gives a different rotation: the order matters.
    Matrix swapped;
    swapped.SetRotationHPB(heading, pitch, bank);
    const Vector3 a = hpb.TransformPoint({0, 0, 1}), b = swapped.TransformPoint({0, 0, 1});
    EXPECT_GT(std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z), 0.1f);
}

TEST(Matrix, ProductsComposeLeftFirstAndLeaveColumnThreeAlone) {
    Matrix turn, move, product;
    turn.SetRotationZ(0.5f);
    move.SetIdentity();
    move.SetTranslation(10, 20, 30);
    product.SetProduct(turn, move); // turn, then move
    const Vector3 p{1, 2, 3};
    const Vector3 expected = move.TransformPoint(turn.TransformPoint(p));
    ExpectNear(product.TransformPoint(p), expected.x, expected.y, expected.z);

    // A fresh target keeps its zero column 3 although both operands have m[3][3] = 1.
    EXPECT_EQ(product.m[3][3], 0.0f);
    EXPECT_EQ(product.m[0][3], 0.0f);
    Matrix marked;
    marked.m[0][3] = 7;
    marked.m[3][3] = 9;
    // Column 3 of the operands takes no part either.
    turn.m[2][3] = 100;
    move.m[1][3] = -100;
    marked.SetProduct(turn, move);
    EXPECT_EQ(marked.m[0][3], 7.0f);
    EXPECT_EQ(marked.m[3][3], 9.0f);
    ExpectNear(marked.TransformPoint(p), expected.x, expected.y, expected.z);
}

TEST(Matrix, ProductsAccumulateInDoublePrecision) {
    // 1 + 2^-24 − 1 is lost in float but kept in double: the row holds both terms.
    Matrix a, b, product;
    a.m[0][0] = 1.0f;
    a.m[0][1] = 1.0f;
    a.m[0][2] = 1.0f;
    b.m[0][0] = 1.0f;
    b.m[1][0] = 1.0f / 16777216.0f;
    b.m[2][0] = -1.0f;
    product.SetProduct(a, b);
    EXPECT_EQ(product.m[0][0], 1.0f / 16777216.0f);
}

TEST(Matrix, PostScaleScalesColumnsTranslationIncluded) {
    Matrix m;
    m.SetIdentity();
    m.SetTranslation(1, 2, 3);
    m.m[0][3] = 5; // column 3 ends as the identity's
    m.PostScale(2, 2, 2);
    ExpectNear(m.GetTranslation(), 2, 4, 6, 0);
    EXPECT_EQ(m.m[0][3], 0.0f);
    EXPECT_EQ(m.m[3][3], 1.0f);
}

TEST(Matrix, NormalizeColumnsRemovesScaleButNotTranslation) {
    Matrix m;
    m.SetRotationZ(0.3f);
    m.PostScale(2, 5, 0.5f);
    m.SetTranslation(4, 5, 6);
    m.NormalizeColumns();
    for (int c = 0; c < 3; ++c) {
        const double length =
            std::sqrt(double(m.m[0][c]) * m.m[0][c] + double(m.m[1][c]) * m.m[1][c] +
                      double(m.m[2][c]) * m.m[2][c]);
        EXPECT_NEAR(length, 1.0, 1e-6);
    }
    ExpectNear(m.GetTranslation(), 4, 5, 6, 0);
}

} // namespace
