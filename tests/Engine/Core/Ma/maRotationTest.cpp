#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maConstants.h"
#include "maTestNear.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

void ExpectRotation(const maRotation& q, float x, float y, float z, float w, float eps = 1e-6f) {
    EXPECT_NEAR(q.x, x, eps);
    EXPECT_NEAR(q.y, y, eps);
    EXPECT_NEAR(q.z, z, eps);
    EXPECT_NEAR(q.w, w, eps);
}

// The same rotation or its negation.
void ExpectSameRotation(const maRotation& a, const maRotation& b, float eps) {
    const float sign = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w < 0 ? -1.0f : 1.0f;
    ExpectRotation(a, sign * b.x, sign * b.y, sign * b.z, sign * b.w, eps);
}

maVector3d RandomUnit(std::mt19937& rng) {
    std::normal_distribution<float> n;
    for (;;) {
        maVector3d v(n(rng), n(rng), n(rng));
        const float len = v.Length();
        if (len > 1e-3f)
            return v / len;
    }
}

// Which branch the matrix-to-rotation conversion takes: 3 for a positive trace, else the largest diagonal.
int BranchOf(const maMatrix3d& m) {
    if (m.m[0] + m.m[4] + m.m[8] > 0)
        return 3;
    int i = 0;
    if (m.m[0] < m.m[4])
        i = 1;
    if (m.m[i * 4] < m.m[8])
        i = 2;
    return i;
}

} // namespace

TEST(maRotation, DefaultIsIdentityAndAxisAngleNormalises) {
    const maRotation id;
    ExpectRotation(id, 0, 0, 0, 1, 0);
    maVector3d v(1, 2, 3);
    id.Rotate(v);
    ExpectNear(v, {1, 2, 3});

    ExpectRotation(maRotation(maVector3d(0, 0, 2), maPiF), 0, 0, 1, 0);
    ExpectRotation(maRotation(maVector3d(0, 0, 0), 1.0f), 0, 0, 0, std::cos(0.5f), 0);

    maVector3d axis;
    float angle = 0;
    maRotation(maVector3d(0, 3, 0), 1.25f).GetAxisAngle(axis, angle);
    ExpectNear(axis, {0, 1, 0});
    EXPECT_NEAR(angle, 1.25f, 1e-6f);

    // A w a rounding step above 1 must not turn into a NaN angle.
    maRotation(0, 0, 0, 1.0000001f).GetAxisAngle(axis, angle);
    EXPECT_EQ(angle, 0.0f);
    ExpectNear(axis, {0, 0, 0}, 0);
    maRotation(0, 0, 0, -1.0000001f).GetAxisAngle(axis, angle);
    EXPECT_FLOAT_EQ(angle, 2.0f * maPiF);
}

TEST(maRotation, FromVectors) {
    maRotation q;
    q.SetFromVectors({1, 0, 0}, {0, 1, 0});
    ExpectRotation(q, 0, 0, 0.70710677f, 0.70710677f);
    maVector3d v(1, 0, 0);
    q.Rotate(v);
    ExpectNear(v, {0, 1, 0});

    q.SetFromVectors({1, 0, 0}, {-1, 0, 0});
    ExpectRotation(q, 0, 1, 0, 0);
    q.SetFromVectors({0, 0, 1}, {0, 0, -1});
    ExpectRotation(q, 0, 1, 0, 0);

    // Parallel directions of the same sense keep the old value.
    q = maRotation(0.1f, 0.2f, 0.3f, 0.9f);
    q.SetFromVectors({1, 0, 0}, {2, 0, 0});
    ExpectRotation(q, 0.1f, 0.2f, 0.3f, 0.9f, 0);

    maVector3d axis;
    float angle = 0;
    q.SetFromVectors({1, 0, 0}, {-1, 1, 0});
    q.GetAxisAngle(axis, angle);
    ExpectNear(axis, {0, 0, 1});
    EXPECT_NEAR(angle, 3.0f * maPiF / 4.0f, 1e-6f);

    // Perpendicular unit directions whose cross product rounds above length 1 still give a finite turn.
    // The angle comes from asin of that length, steep near 1, so it is good to a few 1e-4 only there.
    std::mt19937 rng(7);
    for (int i = 0; i < 2000; ++i) {
        const maVector3d a = RandomUnit(rng);
        maVector3d b;
        a.Cross(RandomUnit(rng), b);
        if (b.Length() < 1e-3f)
            continue;
        q.SetFromVectors(a, b);
        ASSERT_TRUE(std::isfinite(q.w) && std::isfinite(q.x)) << i;
        maVector3d turned = a;
        q.Rotate(turned);
        const float lb = b.Length();
        ExpectNear(turned, {b.x / lb, b.y / lb, b.z / lb}, 1e-3f);
    }
}

TEST(maRotation, ProductAppliesTheRightFactorFirst) {
    const maRotation aboutX(maVector3d(1, 0, 0), maHalfPiF);
    const maRotation aboutZ(maVector3d(0, 0, 1), maHalfPiF);
    maVector3d v(0, 1, 0);
    (aboutZ * aboutX).Rotate(v); // X turns +y to +z, Z leaves it
    ExpectNear(v, {0, 0, 1});
    v = {0, 1, 0};
    (aboutX * aboutZ).Rotate(v); // Z turns +y to -x, X leaves it
    ExpectNear(v, {-1, 0, 0});

    maRotation e;
    e.SetEuler(maHalfPiF, 0, maHalfPiF);
    ExpectSameRotation(e, aboutZ * aboutX, 1e-6f);
    v = {0, 1, 0};
    e.Rotate(v);
    ExpectNear(v, {0, 0, 1});

    maRotation c = aboutX;
    c *= aboutZ;
    ExpectRotation(c, (aboutX * aboutZ).x, (aboutX * aboutZ).y, (aboutX * aboutZ).z, (aboutX * aboutZ).w, 0);

    std::mt19937 rng(3);
    const maRotation q(RandomUnit(rng), 2.1f);
    maRotation inv = q;
    inv.Conjugate();
    ExpectRotation(q * inv, 0, 0, 0, 1);
}

TEST(maRotation, MatrixAgreesWithRotateAndRoundTripsOnEveryBranch) {
    maVector3d p(1, 0, 0);
    maRotation(maVector3d(0, 0, 1), maHalfPiF).GetMatrix().TransformPointInPlace(p);
    ExpectNear(p, {0, 1, 0});

    std::mt19937 rng(12345);
    std::uniform_real_distribution<float> angles(-maPiF, maPiF);
    int branches[4] = {};
    for (int i = 0; i < 4000; ++i) {
        maVector3d axis = RandomUnit(rng);
        // Half the cases turn nearly half way round a principal axis, so that every branch is taken.
        if (i % 2 == 1) {
            const int k = (i / 2) % 3;
            axis = maVector3d(k == 0 ? 1.0f : axis.x * 0.1f, k == 1 ? 1.0f : axis.y * 0.1f,
                              k == 2 ? 1.0f : axis.z * 0.1f);
        }
        const float angle = i % 2 == 1 ? maPiF - std::abs(angles(rng)) * 0.1f : angles(rng);
        const maRotation q(axis, angle);
        const maMatrix4d m = q.GetMatrix();
        EXPECT_EQ(m.m[3] + m.m[7] + m.m[11] + m.m[12] + m.m[13] + m.m[14], 0.0f);
        EXPECT_EQ(m.m[15], 1.0f);

        const maVector3d v = RandomUnit(rng) * 3.0f;
        maVector3d byQ = v;
        q.Rotate(byQ);
        const maVector3d byM = m.TransformPoint(v);
        ExpectNear(byM, byQ, 3e-6f);

        const maMatrix3d block = m.GetMinor(3, 3);
        ++branches[BranchOf(block)];
        maRotation back(5, 5, 5, 5);
        back.SetFromMatrix3d(block);
        ExpectSameRotation(back, q, 2e-6f);
    }
    for (int b = 0; b < 4; ++b)
        EXPECT_GT(branches[b], 200) << "branch " << b;
}

TEST(maRotation, SlerpTakesTheShorterArc) {
    const maRotation a(maVector3d(0, 1, 0), 0.2f);
    const maRotation b(maVector3d(0, 1, 0), 1.4f);
    maRotation r;
    r.Slerp(a, b, 0);
    ExpectRotation(r, a.x, a.y, a.z, a.w);
    r.Slerp(a, b, 1);
    ExpectRotation(r, b.x, b.y, b.z, b.w);
    r.Slerp(a, b, 0.5f);
    ExpectSameRotation(r, maRotation(maVector3d(0, 1, 0), 0.8f), 1e-6f);

    // -b is the same rotation with a negative dot product: the result is -b at t = 1, and the midpoint
    // lies on the short arc.
    const maRotation negB(-b.x, -b.y, -b.z, -b.w);
    r.Slerp(a, negB, 1);
    ExpectRotation(r, b.x, b.y, b.z, b.w);
    r.Slerp(a, negB, 0.5f);
    ExpectSameRotation(r, maRotation(maVector3d(0, 1, 0), 0.8f), 1e-6f);
    r.Slerp(a, negB, 0);
    ExpectRotation(r, a.x, a.y, a.z, a.w);

    // Rotations 0.99995 apart in dot product blend linearly.
    const float half = std::acos(0.99995f);
    const maRotation c(0, std::sin(half), 0, std::cos(half));
    const maRotation id;
    r.Slerp(id, c, 0.25f);
    ExpectRotation(r, 0, 0.25f * c.y, 0, 0.75f + 0.25f * c.w, 0);

    // The result may be written over an input.
    r = a;
    r.Slerp(r, b, 1);
    ExpectRotation(r, b.x, b.y, b.z, b.w);
}
