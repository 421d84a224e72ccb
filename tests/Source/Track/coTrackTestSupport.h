#pragma once
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coRollBlend.h"
#include "Source/Track/coSlopeBlend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <vector>

// The least piece class: a sloped straight run of a horizontal length with its slope fillets.
class coTestLinePiece : public coCoasterPiece {
  public:
    explicit coTestLinePiece(float length = 20.0f) : m_length(length) {}

    void AdjustParamA(float delta) override {
        m_length += delta;
        Build();
    }
    void SetParamANormalised(float f) override {
        m_length = 40.0f * f;
        Build();
    }
    float GetParamANormalised() const override { return m_length / 40.0f; }
    float GetSpan() const override { return m_length; }
    float GetEndHeading() const override { return m_heading; }
    maVector3d GetEnd() const override {
        return m_start + maVector3d(m_headingSin, m_slopeTan, m_headingCos) * m_length;
    }
    int GetTestPointCount() const override { return 3; }
    int GetSectionCount() const override { return 4; }
    void Build() override { SampleCentreLine(); }
    std::any KeepShape() const override { return KeepFields(m_length); }
    void PutShape(const std::any& shape) override { PutFields(shape, m_length); }
    maMatrix4d FrameAt(float s) const override { return SideFrame(s, RollAt(*this, s)); }

    // Added to the roll at the end, as for pieces that twist along their length.
    float endRollOffset = 0.0f;
    float GetRoll(int atEnd) const override { return atEnd == 1 ? m_roll + endRollOffset : m_roll; }

  protected:
    maVector3d Evaluate(float t, maVector3d* direction) const override {
        maVector2d tangent;
        const maVector2d offset = VerticalProfileOffset(*this, t, direction ? &tangent : nullptr);
        const maVector3d forward = coForward(m_heading);
        if (direction) {
            *direction = maVector3d(tangent.x * forward.x, tangent.y, tangent.x * forward.z);
            const float length = direction->Length();
            if (length > 0.0f)
                *direction = *direction / length;
        }
        return m_start + forward * (t * m_length) + maVector3d(0.0f, t * m_length * m_slopeTan, 0.0f) +
               maVector3d(offset.x * forward.x, offset.y, offset.x * forward.z);
    }

  private:
    float m_length;
};

// A definition that forbids inverting pieces, installed for its lifetime.
class coFakeDefinition : public coCoasterDefinition {
  public:
    explicit coFakeDefinition(bool allowInvert) : m_allowInvert(allowInvert) { coSetCoasterDefinition(this); }
    ~coFakeDefinition() override { coSetCoasterDefinition(nullptr); }
    bool GetAllowInvertPieces() const override { return m_allowInvert; }

  private:
    bool m_allowInvert;
};

// Chains the pieces in order: links set, each placed at the end of the one before, the first at the
// origin heading 0. The circuit's list is not touched.
inline void coLinkPieces(std::initializer_list<coCoasterPiece*> pieces) {
    coCoasterPiece* previous = nullptr;
    for (coCoasterPiece* piece : pieces) {
        piece->SetPrevious(previous);
        if (previous)
            previous->SetNext(piece);
        previous = piece;
    }
    // Placement after linking: blending reads both neighbours while sampling.
    for (coCoasterPiece* piece : pieces) {
        if (piece->GetPrevious())
            piece->Connect(piece->GetPrevious());
        else
            piece->Place(maVector3d(0.0f, 0.0f, 0.0f), 0.0f);
    }
}

inline void ExpectVectorNear(const maVector3d& v, const maVector3d& expected, float eps) {
    EXPECT_NEAR(v.x, expected.x, eps);
    EXPECT_NEAR(v.y, expected.y, eps);
    EXPECT_NEAR(v.z, expected.z, eps);
}

inline bool coIsFinite(const maVector3d& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

inline maVector3d coFrameRow(const maMatrix4d& m, int row) {
    return maVector3d(m.m[row * 4], m.m[row * 4 + 1], m.m[row * 4 + 2]);
}

// A rotation and a position: every element finite, rows 0 to 2 of unit length, side square to forward
// and up = forward x side.
inline void ExpectSoundFrame(const maMatrix4d& frame, float eps = 1e-5f) {
    for (float element : frame.m)
        ASSERT_TRUE(std::isfinite(element));
    const maVector3d side = coFrameRow(frame, 0), up = coFrameRow(frame, 1), forward = coFrameRow(frame, 2);
    EXPECT_NEAR(side.Length(), 1.0f, eps);
    EXPECT_NEAR(up.Length(), 1.0f, eps);
    EXPECT_NEAR(forward.Length(), 1.0f, eps);
    EXPECT_NEAR(maDot(side, forward), 0.0f, eps);
    ExpectVectorNear(coCross(forward, side), up, eps);
}

// Sound frames at n + 1 fractions along the piece.
inline void ExpectSoundFrames(const coCoasterPiece& piece, float eps = 1e-5f, int n = 20) {
    for (int i = 0; i <= n; ++i) {
        SCOPED_TRACE(testing::Message() << "s " << static_cast<float>(i) / static_cast<float>(n));
        ExpectSoundFrame(piece.FrameAt(static_cast<float>(i) / static_cast<float>(n)), eps);
    }
}

// Degenerate shapes need not have orthonormal frames, but nothing in them may be NaN or infinite.
inline void ExpectFiniteFrames(const coCoasterPiece& piece, int n = 20) {
    for (int i = 0; i <= n; ++i) {
        for (float element : piece.FrameAt(static_cast<float>(i) / static_cast<float>(n)).m)
            EXPECT_TRUE(std::isfinite(element)) << "s " << static_cast<float>(i) / static_cast<float>(n);
    }
}

// 1e-4 at the scale of 100 units: a few float steps of the coordinates.
inline float coPositionTolerance(const maVector3d& p) {
    const float scale = std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z), 100.0f});
    return 1e-4f * scale / 100.0f;
}

// The angle between two rolls, the short way round.
inline float coRollDifference(float a, float b) {
    return std::remainder(a - b, 6.2831853f);
}

// Piece i at its end against piece i + 1 at its start: roll (modulo whole turns) and point. Where
// neither side blends (both mode 0) the roll steps from one piece's to the other's.
inline void ExpectContinuousJoints(const std::vector<coCoasterPiece*>& chain) {
    for (size_t i = 0; i + 1 < chain.size(); ++i) {
        const coCoasterPiece& a = *chain[i];
        const coCoasterPiece& b = *chain[i + 1];
        if (BlendWidth(a, 0.3f) == 0.0f && BlendWidth(b, 0.3f) == 0.0f) {
            EXPECT_EQ(RollAt(a, 1.0f), a.GetRoll(1)) << "joint " << i;
            EXPECT_EQ(RollAt(b, 0.0f), b.GetRoll(0)) << "joint " << i;
        } else {
            EXPECT_NEAR(coRollDifference(RollAt(a, 1.0f), RollAt(b, 0.0f)), 0.0f, 1e-5f) << "joint " << i;
        }
        const maVector3d end = a.PointAt(1.0f);
        ExpectVectorNear(end, b.PointAt(0.0f), coPositionTolerance(end));
    }
}
