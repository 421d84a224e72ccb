#pragma once
#include "Source/Modes/coEditorSelection.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceCustom.h"
#include "Source/Track/coCoasterPieceHalfLoop.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceSTurn.h"
#include "Source/Track/coCoasterPieceShallowTurn.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coCoasterPieceUp.h"
#include "Source/Track/coParkWorld.h"
#include "Source/Track/coPlacement.h"
#include "Source/Track/coTrackBuilder.h"
#include "Source/World/coLoadingDock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

// Records what the circuit asks of the track geometry; installed for its lifetime.
class coRecordingTrackBuilder : public coTrackBuilder {
  public:
    coRecordingTrackBuilder() { coSetTrackBuilder(this); }
    ~coRecordingTrackBuilder() override { coSetTrackBuilder(nullptr); }

    void RemovePieceObjects(coCoasterPiece* piece) override { removed.push_back(piece); }
    void RebuildPieceObjects(coCoasterPiece* piece, int mode) override { rebuilt.emplace_back(piece, mode); }
    void RebuildSupports(coCoasterPiece* first) override { supports.push_back(first); }
    void RebuildNearBox(const coWorldBox& box) override { nearBoxes.push_back(box); }
    void SetPieceFlagged(coCoasterPiece* piece, bool flagged) override { flags.emplace_back(piece, flagged); }

    std::vector<coCoasterPiece*> removed;
    std::vector<std::pair<coCoasterPiece*, int>> rebuilt;
    std::vector<coCoasterPiece*> supports;
    std::vector<coWorldBox> nearBoxes;
    std::vector<std::pair<coCoasterPiece*, bool>> flags;
};

// A dock that sits at the start of the piece it is placed at, in a 10 x 4 x 10 box.
class coFakeDock : public coLoadingDock {
  public:
    coWorldBox GetBox() const override {
        return {position.x - 5.0f, position.x + 5.0f, position.y,
                position.y + 4.0f, position.z - 5.0f, position.z + 5.0f};
    }
    void PlaceAtPiece(const coCoasterPiece& piece) override { position = piece.GetStart(); }

    maVector3d position;
};

// A park with optional terrain: flat ground at height 0 with a cone-shaped hill and a hole, or no terrain;
// grid bounds, a dock and the removed track props are settable and recorded. Installed for its lifetime.
class coFakePark : public coParkWorld {
  public:
    coFakePark() { coSetParkWorld(this); }
    ~coFakePark() override { coSetParkWorld(nullptr); }

    bool GetHeightAt(float x, float z, float& height) const override {
        if (!hasTerrain || InHole(x, z))
            return false;
        height = GroundAt(x, z);
        return true;
    }
    // The segment sampled finely against the height field.
    bool IntersectSegment(const maVector3d& p0, const maVector3d& p1, maVector3d& point) const override {
        if (!hasTerrain)
            return false;
        constexpr int kSteps = 256;
        for (int i = 0; i <= kSteps; ++i) {
            const float t = static_cast<float>(i) / kSteps;
            const maVector3d p = p0 + (p1 - p0) * t;
            if (!InHole(p.x, p.z) && p.y <= GroundAt(p.x, p.z)) {
                point = p;
                return true;
            }
        }
        return false;
    }
    float GetGridMinX() const override { return minX; }
    float GetGridMaxX() const override { return maxX; }
    float GetGridMinZ() const override { return minZ; }
    float GetGridMaxZ() const override { return maxZ; }
    coLoadingDock* GetDock() const override { return dock; }
    void CircuitStartMoved(const coCoasterPiece& first) override {
        if (dock)
            dock->FollowPiece(first);
    }
    void RemoveTrackPropsOnPiece(coCoasterPiece* piece) override { propsRemovedOn.push_back(piece); }
    void MoveTrackProps(coCoasterPiece*, coCoasterPiece* to) override { propsMovedTo.push_back(to); }
    void PlaceAllTrackProps() override { ++trackPropPlacements; }
    std::string GetEnvironmentName() const override { return environmentName; }
    maVector3d GetStartPosition() const override { return startPosition; }

    // The ground: groundLevel, rising to hillHeight at hillCentre over hillRadius.
    float GroundAt(float x, float z) const {
        const float d =
            std::sqrt((x - hillCentre.x) * (x - hillCentre.x) + (z - hillCentre.z) * (z - hillCentre.z));
        return groundLevel + hillHeight * std::max(0.0f, 1.0f - d / hillRadius);
    }
    // No terrain within holeRadius of holeCentre (in x and z).
    bool InHole(float x, float z) const {
        return (x - holeCentre.x) * (x - holeCentre.x) + (z - holeCentre.z) * (z - holeCentre.z) <
               holeRadius * holeRadius;
    }

    bool hasTerrain = false;
    float groundLevel = 0.0f;
    maVector3d hillCentre{0.0f, 0.0f, 1000.0f};
    float hillHeight = 20.0f;
    float hillRadius = 30.0f;
    maVector3d holeCentre{0.0f, 0.0f, 0.0f};
    float holeRadius = 0.0f;
    float minX = -1000.0f;
    float maxX = 1000.0f;
    float minZ = -1000.0f;
    float maxZ = 1000.0f;
    coLoadingDock* dock = nullptr;
    std::vector<coCoasterPiece*> propsRemovedOn;
    std::vector<coCoasterPiece*> propsMovedTo;
    int trackPropPlacements = 0;
    std::string environmentName;
    maVector3d startPosition{10.0f, 3.0f, -20.0f};
};

// Every circuit test starts and ends with an empty circuit, a recording builder and an empty park.
class coCircuitFixture : public ::testing::Test {
  protected:
    coCircuitFixture() {
        coCircuitClear();
        coSelectionClear();
    }
    ~coCircuitFixture() override {
        coCircuitClear();
        coSelectionClear();
        coSetThemeName(m_theme);
    }

    coRecordingTrackBuilder builder;
    coFakePark park;

  private:
    // The circuit keeps its theme through a clear: the test's own goes when it ends.
    std::string m_theme = coGetThemeName();
};

// Appends a new piece, set up by `setup` before it is placed, and returns it.
template <class Piece, class Setup> Piece* coAppendPiece(Setup setup, bool match = true) {
    auto piece = std::make_unique<Piece>();
    setup(*piece);
    Piece* raw = piece.get();
    coCircuitAppend(std::move(piece), match);
    return raw;
}

inline coCoasterPieceStraight* coAppendStraight(float length, i32 element = coElementNone,
                                                bool match = true) {
    return coAppendPiece<coCoasterPieceStraight>(
        [&](coCoasterPieceStraight& p) {
            p.SetRunLength(length);
            p.SetElement(element);
            p.Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
        },
        match);
}

inline coCoasterPieceTurn* coAppendTurn(float angle, float radius, i32 element = coElementNone,
                                        bool match = true) {
    return coAppendPiece<coCoasterPieceTurn>(
        [&](coCoasterPieceTurn& p) {
            p.SetAngle(angle);
            p.SetRadius(radius);
            p.SetElement(element);
            p.Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
        },
        match);
}

// R1: from (0, 2, 0) heading 0, four times a chained Straight of `lengths[i]` and a chained Turn of
// +90 degrees, radius 15.
inline void coBuildR1(const float (&lengths)[4] = {20.0f, 20.0f, 20.0f, 20.0f}) {
    for (float length : lengths) {
        coAppendStraight(length, coElementChainLift);
        coAppendTurn(coDegrees(90.0f), 15.0f, coElementChainLift);
    }
}

// A figure of eight: two diagonal Straights that cross, joined by loops of 270 degrees each way.
inline void coBuildFigureEight() {
    const float radius = 15.0f;
    coAppendPiece<coCoasterPieceStraight>([&](coCoasterPieceStraight& p) {
        p.SetRunLength(2.0f * radius);
        p.Place(maVector3d(0.0f, 2.0f, 0.0f), coDegrees(45.0f));
    });
    coAppendTurn(coDegrees(-180.0f), radius);
    coAppendTurn(coDegrees(-90.0f), radius);
    coAppendStraight(2.0f * radius);
    coAppendTurn(coDegrees(180.0f), radius);
    coAppendTurn(coDegrees(90.0f), radius);
}

// A hill climb: a station, a chained lift hill up 25 degrees, a drop, a loop, a U-turn, a corkscrew
// and a U-turn back; its end lies about 5 short of the start and 2.8 below it.
inline void coBuildHillClimb() {
    // Each pitch is set as the builder sets it: the piece's slope, then the circuit follows.
    const auto pitch = [](coCoasterPiece* piece, float degrees) {
        piece->SetSlope(coDegrees(degrees));
        coCircuitReflowFrom(piece, false);
    };
    coAppendStraight(30.0f);
    pitch(coAppendStraight(30.0f, coElementChainLift), 25.0f);
    pitch(coAppendStraight(20.0f), -40.0f);
    pitch(coAppendStraight(10.0f), 0.0f);
    coAppendPiece<coCoasterPieceLoop>([](coCoasterPieceLoop&) {});
    coAppendStraight(10.0f);
    coAppendTurn(coDegrees(180.0f), 20.0f);
    coAppendStraight(40.0f);
    coAppendStraight(30.0f);
    coAppendPiece<coCoasterPieceCorkscrew>([](coCoasterPieceCorkscrew&) {});
    coAppendStraight(39.0f, coElementBrakes);
    coAppendTurn(coDegrees(180.0f), 14.5f);
}

// Three control points of a gentle S-bend for custom pieces.
inline std::vector<coCustomPoint> coSampleCustomPoints() {
    std::vector<coCustomPoint> points(3);
    points[1].position = maVector3d(0.0f, 0.5f, 10.0f);
    points[1].slope = 0.125f;
    points[2].position = maVector3d(5.0f, 1.0f, 20.0f);
    points[2].heading = 0.375f;
    points[2].roll = 0.25f;
    points[2].tangentScale = 0.75f;
    return points;
}

// An open circuit with a piece of every class, matched as the builder matches them.
inline void coBuildEveryClass() {
    coAppendStraight(20.0f);
    coAppendPiece<coCoasterPieceShallowTurn>(
        [](coCoasterPieceShallowTurn& p) { p.SetAngle(coDegrees(-20.0f)); });
    coAppendPiece<coCoasterPieceSTurn>([](coCoasterPieceSTurn& p) { p.SetSlide(-6.0f); });
    coAppendPiece<coCoasterPieceUp>([](coCoasterPieceUp&) {});
    coAppendStraight(15.0f, coElementBooster);
    coAppendPiece<coCoasterPieceHalfLoop>([](coCoasterPieceHalfLoop&) {});
    coAppendPiece<coCoasterPieceHalfCorkscrew>([](coCoasterPieceHalfCorkscrew&) {});
    coAppendPiece<coCoasterPieceCorkscrew>([](coCoasterPieceCorkscrew& p) { p.SetRevolutions(2); });
    coAppendPiece<coCoasterPieceLoop>([](coCoasterPieceLoop&) {});
    coAppendPiece<coCoasterPieceCustom>(
        [](coCoasterPieceCustom& p) { EXPECT_TRUE(p.SetPoints(coSampleCustomPoints())); });
    coAppendTurn(coDegrees(-60.0f), 25.0f, coElementRetarder)->SetTube(1);
}

// The reference circuits of the track tests; the closed ones close with coCircuitTryClose.
struct coReferenceCircuit {
    const char* name;
    void (*build)();
    bool closed;
};
inline const coReferenceCircuit coReferenceCircuits[] = {
    {"R1", [] { coBuildR1(); }, true},
    {"figure8", coBuildFigureEight, true},
    {"hillclimb", coBuildHillClimb, true},
    {"everyclass", coBuildEveryClass, false},
};

// Replaces the circuit by the reference circuit, closed where it closes.
inline void coBuildReference(const coReferenceCircuit& circuit) {
    coCircuitClear();
    circuit.build();
    if (circuit.closed) {
        EXPECT_TRUE(coCircuitTryClose()) << circuit.name;
    }
}

// The distance from the last piece's end to the first piece's start.
inline float coCircuitGap() {
    const maVector3d gap = coCircuitLastPiece()->GetEnd() - coCircuitFirstPiece()->GetStart();
    return gap.Length();
}

// Everything that says where a piece lies, to compare circuits bit by bit.
struct coPiecePose {
    maVector3d start;
    float heading;
    float slope;
    float roll;
    maVector3d end;
    float length;

    explicit coPiecePose(const coCoasterPiece& piece)
        : start(piece.GetStart()), heading(piece.GetHeading()), slope(piece.GetBaseSlope()),
          roll(piece.GetRoll(0)), end(piece.GetEnd()), length(piece.GetLength()) {}

    bool operator==(const coPiecePose& o) const {
        return start.x == o.start.x && start.y == o.start.y && start.z == o.start.z && heading == o.heading &&
               slope == o.slope && roll == o.roll && end.x == o.end.x && end.y == o.end.y &&
               end.z == o.end.z && length == o.length;
    }
};

inline std::vector<coPiecePose> coCircuitPoses() {
    std::vector<coPiecePose> poses;
    for (const auto& piece : coCircuitPieces())
        poses.emplace_back(*piece);
    return poses;
}

// Whether every piece's links agree with the list (open or closed).
inline bool coCircuitLinksAgree() {
    const int n = coCircuitPieceCount();
    for (int i = 0; i < n; ++i) {
        const coCoasterPiece* p = coCircuitPieceAt(i);
        if (i > 0 && p->GetPrevious() != coCircuitPieceAt(i - 1))
            return false;
        if (i + 1 < n && p->GetNext() != coCircuitPieceAt(i + 1))
            return false;
    }
    return true;
}
