// Vectors and affine matrices of single-precision floats. Row vectors: a point
// is the row (x, y, z, 1) on the left of a matrix, so a · b applies a, then b.
// Angles are radians. Everything here is inline arithmetic: no allocation, no failure.
#pragma once

#include <cmath>

struct Vector3 {
    float x, y, z;

    // Square root of x² + y² + z², formed in double precision.
    float Length() const {
        return static_cast<float>(std::sqrt(
            static_cast<double>(x) * x + static_cast<double>(y) * y + static_cast<double>(z) * z));
    }
    // Scales to unit length. A zero vector has no direction and comes out non-finite;
    // callers that may meet one test its length first.
    void Normalize() {
        const float f = 1.0f / Length();
        x *= f;
        y *= f;
        z *= f;
    }
};

inline Vector3 Cross(const Vector3& a, const Vector3& b) {
    return Vector3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// A 4 × 4 affine transformation, row-major: m[r][c]. Rows 0 to 2 (columns 0 to 2)
// hold the images of the x, y and z axes, row 3 the translation. Column 3 takes
// part in no computation: only Clear, SetIdentity and Copy write it.
// A new Matrix is all zeros, not the identity.
class Matrix {
public:
    float m[4][4];

    Matrix() { Clear(); }

    void Clear() {
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                m[r][c] = 0.0f;
    }
    void SetIdentity() {
        Clear();
        m[0][0] = m[1][1] = m[2][2] = m[3][3] = 1.0f;
    }
    void Copy(const Matrix& source) { *this = source; }

    // this = a · b as affine transforms; column 3 of this is left as it was.
    // this must be distinct from a and b (every element is written while the
    // operands are still being read): form m · n in a temporary and Copy it back.
    void SetProduct(const Matrix& a, const Matrix& b) {
        for (int j = 0; j < 3; ++j) {
            for (int i = 0; i < 3; ++i) {
                m[i][j] = static_cast<float>(static_cast<double>(a.m[i][0]) * b.m[0][j] +
                                             static_cast<double>(a.m[i][1]) * b.m[1][j] +
                                             static_cast<double>(a.m[i][2]) * b.m[2][j]);
            }
            m[3][j] = static_cast<float>(static_cast<double>(a.m[3][0]) * b.m[0][j] +
                                         static_cast<double>(a.m[3][1]) * b.m[1][j] +
                                         static_cast<double>(a.m[3][2]) * b.m[2][j] +
                                         static_cast<double>(b.m[3][j]));
        }
    }

    // Rotations turn a point about one axis. Cosine and sine are each rounded to
    // float once; the negated sine is the negation of that rounded value.
    void SetRotationX(float angle) {
        const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
        const float s = static_cast<float>(std::sin(static_cast<double>(angle)));
        SetIdentity();
        m[1][1] = c;
        m[1][2] = -s;
        m[2][1] = s;
        m[2][2] = c;
    }
    void SetRotationY(float angle) {
        const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
        const float s = static_cast<float>(std::sin(static_cast<double>(angle)));
        SetIdentity();
        m[0][0] = c;
        m[0][2] = s;
        m[2][0] = -s;
        m[2][2] = c;
    }
    void SetRotationZ(float angle) {
        const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
        const float s = static_cast<float>(std::sin(static_cast<double>(angle)));
        SetIdentity();
        m[0][0] = c;
        m[0][1] = -s;
        m[1][0] = s;
        m[1][1] = c;
    }
    // this = Rz(bank) · Rx(pitch) · Ry(heading): a point turns by bank first, then
    // pitch, then heading. Note the argument order, pitch first. Column 3 is kept.
    void SetRotationHPB(float pitch, float heading, float bank) {
        Matrix x, y, z, t;
        x.SetRotationX(pitch);
        y.SetRotationY(heading);
        z.SetRotationZ(bank);
        t.SetProduct(z, x);
        SetProduct(t, y);
    }
    // this = this · diagonal(sx, sy, sz, 1): column j, translation included, is
    // multiplied by the j-th factor. Column 3 ends as (0, 0, 0, 1).
    void PostScale(float sx, float sy, float sz) {
        Matrix s, r;
        s.SetIdentity();
        s.m[0][0] = sx;
        s.m[1][1] = sy;
        s.m[2][2] = sz;
        r.SetIdentity();
        r.SetProduct(*this, s);
        Copy(r);
    }
    void SetTranslation(float x, float y, float z) {
        m[3][0] = x;
        m[3][1] = y;
        m[3][2] = z;
    }
    Vector3 GetTranslation() const { return Vector3{m[3][0], m[3][1], m[3][2]}; }

    // Scales columns 0 to 2 of the rotation part to unit length (row 3 and column 3
    // untouched). A zero column comes out non-finite.
    void NormalizeColumns() {
        for (int j = 0; j < 3; ++j) {
            const double lengthSquared = static_cast<double>(m[0][j]) * m[0][j] +
                                         static_cast<double>(m[1][j]) * m[1][j] +
                                         static_cast<double>(m[2][j]) * m[2][j];
            const float f = static_cast<float>(1.0 / std::sqrt(lengthSquared));
            m[0][j] *= f;
            m[1][j] *= f;
            m[2][j] *= f;
        }
    }

    // p · this with the translation. Directions are transformed by a copy whose
    // translation was set to zero.
    Vector3 TransformPoint(const Vector3& p) const {
        const double x = p.x, y = p.y, z = p.z;
        return Vector3{static_cast<float>(x * m[0][0] + y * m[1][0] + z * m[2][0] + m[3][0]),
                       static_cast<float>(x * m[0][1] + y * m[1][1] + z * m[2][1] + m[3][1]),
                       static_cast<float>(x * m[0][2] + y * m[1][2] + z * m[2][2] + m[3][2])};
    }
};
