#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maConstants.h"
#include "maTestNear.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

void ExpectIdentity(const maMatrix4d& m, float eps) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m.m[i], i % 5 == 0 ? 1.0f : 0.0f, eps) << "element " << i;
}

} // namespace

TEST(maConstants, SinglePrecisionDegreeFactorIsTheFloatProduct) {
    EXPECT_EQ(maRadiansPerDegreeF, 0.0174532942f);
    EXPECT_EQ(maPiF, 3.1415927f);
    EXPECT_EQ(maHalfPiF * 2.0f, maPiF);
    EXPECT_NEAR(maDegreesPerRadian * maRadiansPerDegree, 1.0, 1e-15);
    EXPECT_NEAR(maInvPiF * maPiF, 1.0f, 1e-7f);
}

TEST(maVector, CrossMayWriteOverAnInputAndVectorsAreRawFloats) {
    maVector3d a(1.0f, 2.0f, 3.0f);
    const maVector3d b(4.0f, 5.0f, 6.0f);
    a.Cross(b, a);
    ExpectNear(a, {-3, 6, -3});
    EXPECT_FLOAT_EQ(maVector3d(2, 3, 6).Length(), 7.0f);
    maVector3d arr[2] = {{1, 2, 3}, {4, 5, 6}};
    float flat[6];
    std::memcpy(flat, arr, sizeof arr);
    EXPECT_EQ(flat[4], 5.0f);
}

// X turns +y to +z, Y turns +z to +x (heading a quarter turn from +z), Z turns +x to +y; in 4x4 and 3x3.
TEST(maMatrix4d, AxisRotationsTurnTheAxesRightHanded) {
    maMatrix4d m;
    ExpectIdentity(m, 0.0f);
    maMatrix3d r;
    const struct {
        void (maMatrix4d::*set4)(float);
        void (maMatrix3d::*set3)(float);
        maVector3d from, to;
    } cases[] = {{&maMatrix4d::SetRotationX, &maMatrix3d::SetRotationX, {0, 1, 0}, {0, 0, 1}},
                 {&maMatrix4d::SetRotationY, &maMatrix3d::SetRotationY, {0, 0, 1}, {1, 0, 0}},
                 {&maMatrix4d::SetRotationZ, &maMatrix3d::SetRotationZ, {1, 0, 0}, {0, 1, 0}}};
    for (const auto& c : cases) {
        (m.*c.set4)(maHalfPiF);
        ExpectNear(m.TransformPoint(c.from), c.to);
        (r.*c.set3)(maHalfPiF);
        maVector3d v = c.from;
        ExpectNear(r.TransformInPlace(v), c.to);
    }
}

TEST(maMatrix4d, ProductAppliesTheLeftMatrixFirst) {
    maMatrix4d t;
    t.SetTranslation(1, 2, 3);
    ExpectNear(t.TransformPoint({0, 0, 0}), {1, 2, 3});
    const maVector4d zero = t.TransformVector4d(maVector4d(0, 0, 0, 0));
    EXPECT_EQ(zero.x + zero.y + zero.z + zero.w, 0.0f);
    maVector4d one(0, 0, 0, 1);
    t.TransformVector4dInPlace(one);
    EXPECT_EQ(one.x, 1.0f);
    EXPECT_EQ(one.w, 1.0f);

    maMatrix4d a;
    a.SetRotationZ(maHalfPiF);
    // Rotate (1,0,0) to (0,1,0), then translate.
    ExpectNear((a * t).TransformPoint({1, 0, 0}), {1, 3, 3});
    // Translate to (2,2,3), then rotate about Z.
    ExpectNear((t * a).TransformPoint({1, 0, 0}), {-2, 2, 3}, 1e-6f);

    maMatrix4d b = a;
    b *= t;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(b.m[i], (a * t).m[i]);

    // In-place Translate and Scale are products on the right.
    maMatrix4d c = a, s;
    c.Translate(1, 2, 3);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(c.m[i], (a * t).m[i]);
    s.SetScale(2, 3, 4);
    c = t;
    c.Scale(2, 3, 4);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(c.m[i], (t * s).m[i]);
    maVector3d p(1, 1, 1);
    ExpectNear(c.TransformPointInPlace(p), {4, 9, 16});
}

// A frame's rows are the images of the unit axes and of the origin under TransformPoint.
TEST(maMatrix4d, AxesAndTranslationAreTheFramesRows) {
    maMatrix4d frame;
    frame.SetRotationY(0.7f);
    frame.Translate(1, 2, 3);
    frame.m[3] = 5.0f;
    const maVector3d origin = frame.TransformPoint({0, 0, 0});
    ExpectNear(frame.GetTranslation(), origin, 0.0f);
    const maVector3d axes[3] = {frame.GetXAxis(), frame.GetYAxis(), frame.GetZAxis()};
    const maVector3d units[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int i = 0; i < 3; ++i) {
        const maVector3d image = frame.TransformPoint(units[i]) - origin;
        ExpectNear(axes[i], image);
        ExpectNear(frame.GetAxis(i), axes[i], 0.0f);
    }
    const maVector4d row = frame.GetRow(0);
    EXPECT_EQ(row.w, 5.0f);
    const maMatrix3d rotation = frame.GetRotationPart(), minor = frame.GetMinor(3, 3);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(rotation.m[i], minor.m[i]);

    // Unlike SetTranslation, replacing the translation keeps the rotation.
    frame.ReplaceTranslation({-1, -2, -3});
    ExpectNear(frame.GetTranslation(), {-1, -2, -3}, 0.0f);
    ExpectNear(frame.GetZAxis(), axes[2], 0.0f);
}

TEST(maMatrix4d, InverseTimesMatrixIsIdentity) {
    maMatrix4d r, t, m;
    r.SetRotationY(0.7f);
    m.SetRotationX(-1.3f);
    t.SetTranslation(5, -2, 11);
    m = r * m * t;
    maMatrix4d inv = m;
    inv.Invert();
    ExpectIdentity(inv * m, 2e-6f);
    ExpectIdentity(m * inv, 2e-6f);
    EXPECT_NEAR(m.GetDeterminant(), 1.0f, 1e-6f);

    maMatrix4d s;
    s.SetScale(2, 4, 8);
    EXPECT_FLOAT_EQ(s.GetDeterminant(), 64.0f);
    s.Invert();
    EXPECT_FLOAT_EQ(s.m[5], 0.25f);

    // Minors keep the remaining rows and columns in order.
    maMatrix4d n(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const maMatrix3d minor = n.GetMinor(1, 2);
    const float expected[9] = {0, 1, 3, 8, 9, 11, 12, 13, 15};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(minor.m[i], expected[i]);
    n.Transpose();
    EXPECT_EQ(n.m[1], 4.0f);
    EXPECT_EQ(n.m[14], 11.0f);

    // A singular matrix is not detected: its inverse is not finite.
    maMatrix4d z(1, 2, 3, 4, 2, 4, 6, 8, 0, 0, 1, 0, 0, 0, 0, 1);
    z.Invert();
    EXPECT_FALSE(std::isfinite(z.m[0]));
}

TEST(maMatrix3d, AxisRotationNormalisesAndInverts) {
    maMatrix3d a, z;
    a.SetRotation(0.6f, 0, 0, 2);
    z.SetRotationZ(0.6f);
    for (int i = 0; i < 9; ++i)
        EXPECT_FLOAT_EQ(a.m[i], z.m[i]);
    a.SetRotation(0.6f, 0, 0, 0);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(a.m[i], i % 4 == 0 ? std::cos(0.6f) : 0.0f);

    // An oblique axis: the axis itself stays, a perpendicular vector turns by the angle.
    a.SetRotation(maHalfPiF, 1, 1, 0);
    maVector3d axis(1, 1, 0);
    ExpectNear(a.TransformInPlace(axis), {1, 1, 0});
    maVector3d side(0, 0, 1);
    const float h = std::sqrt(0.5f);
    // Right-handed about (1,1,0)/sqrt2: +z turns toward (1,1,0) x (0,0,1) / sqrt2 = (h, -h, 0).
    ExpectNear(a.TransformInPlace(side), {h, -h, 0});

    maMatrix3d m(2, 0, 1, 1, 3, 0, 0, 1, 4);
    EXPECT_FLOAT_EQ(m.GetDeterminant(), 25.0f);
    maMatrix3d inv = m;
    inv.Invert();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            float sum = 0;
            for (int k = 0; k < 3; ++k)
                sum += m.m[r * 3 + k] * inv.m[k * 3 + c];
            EXPECT_NEAR(sum, r == c ? 1.0f : 0.0f, 1e-6f);
        }
    m.Transpose();
    EXPECT_EQ(m.m[1], 1.0f);
    EXPECT_EQ(m.m[2], 0.0f);
    m.Scale(1, 2, 3);
    EXPECT_EQ(m.m[4], 6.0f);
    EXPECT_EQ(m.m[8], 12.0f);
}

TEST(maBoundingBox, CornersFollowTheBitOrder) {
    const maBoundingBox empty;
    EXPECT_EQ(empty.minX, 3.4028235e38f);
    EXPECT_EQ(empty.maxZ, -3.4028235e38f);

    const maBoundingBox box(maVector3d(1, 5, -2), maVector3d(-1, 2, 3));
    const float interleaved[6] = {-1, 1, 2, 5, -2, 3};
    EXPECT_EQ(std::memcmp(&box, interleaved, sizeof interleaved), 0);
    ExpectNear(box.GetCorner(0), {1, 5, 3});
    ExpectNear(box.GetCorner(1), {-1, 5, 3});
    ExpectNear(box.GetCorner(6), {1, 2, -2});
    ExpectNear(box.GetCorner(7), {-1, 2, -2});
    ExpectNear(box.GetCorner(8), {0, 0, 0});
    ExpectNear(box.GetCorner(-1), {0, 0, 0});
    ExpectNear(box.GetCenter(), {0, 3.5f, 0.5f});

    maVector3d corners[8];
    maVector4d corners4[8];
    box.GetCorners(corners);
    box.GetCorners4d(corners4);
    for (int i = 0; i < 8; ++i) {
        ExpectNear(corners[i], box.GetCorner(i), 0);
        EXPECT_EQ(corners4[i].x, corners[i].x);
        EXPECT_EQ(corners4[i].z, corners[i].z);
        EXPECT_EQ(corners4[i].w, 1.0f);
    }

    EXPECT_FLOAT_EQ(maBoundingBox(maVector3d(0, 0, 0), maVector3d(2, 2, 1)).GetRadius(), 1.5f);

    maBoundingBox grown;
    grown.AddPoint({1, 2, 3});
    grown.AddPoint({-1, 4, 0});
    ExpectNear(grown.GetMin(), {-1, 2, 0});
    ExpectNear(grown.GetMax(), {1, 4, 3});
}
