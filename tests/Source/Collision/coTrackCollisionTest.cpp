#include "Source/Collision/coTrackCollision.h"
#include "Source/Collision/coBoxTree.h"
#include "Source/Collision/coPickPathBuilder.h"
#include "Source/Collision/coPickPathMesh.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPieceStraight.h"

#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Source/Collision/coCollisionTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <random>
#include <tuple>

namespace {

// The track's collision radius and pick radius; the pick path's rings are the square of the pick
// radius (or, without one, the collision radius) round the frame origin. Installed for its lifetime.
class RadiusDefinition : public coCoasterDefinition {
  public:
    explicit RadiusDefinition(float extrusion = 1.0f, float pick = 0.0f)
        : m_previous(&coGetCoasterDefinition()) {
        const float r = pick > 0.0f ? pick : extrusion;
        const maVector2d square[5] = {{r, r}, {-r, r}, {-r, -r}, {r, -r}, {r, r}};
        SetExtrusion(maVector3d(), extrusion);
        SetPickPathRadius(pick);
        SetExtrusionPolygon(square, 5);
        coSetCoasterDefinition(this);
    }
    ~RadiusDefinition() override { coSetCoasterDefinition(m_previous); }

  private:
    const coCoasterDefinition* m_previous;
};

// Straight pieces and their meshes, kept alive for the test; the registry is emptied at the end.
struct Track {
    RadiusDefinition definition;
    std::deque<coCoasterPieceStraight> pieces;
    std::deque<coPickPathMesh> meshes;

    ~Track() { coCollisionClearMarkers(); }

    coCoasterPieceStraight& Piece(const maVector3d& start, float heading, float length = 20.0f,
                                  float slope = 0.0f) {
        pieces.emplace_back();
        coCoasterPieceStraight& piece = pieces.back();
        piece.SetRunLength(length);
        piece.SetSlope(slope);
        piece.Place(start, heading);
        return piece;
    }
    coPickPathMesh* Mesh(const coCoasterPiece& piece) {
        meshes.push_back(coBuildPickPathMesh(piece));
        return &meshes.back();
    }
    // A straight placed and registered at once.
    coPickPathMesh* Register(const maVector3d& start, float heading, float length = 20.0f,
                             float slope = 0.0f) {
        coCoasterPieceStraight& piece = Piece(start, heading, length, slope);
        coPickPathMesh* mesh = Mesh(piece);
        coRegisterPlacedPiece(mesh, &piece);
        return mesh;
    }
};

int CountKind(int kind) {
    int n = 0;
    for (const coCollisionMarker& marker : coCollisionGetMarkers())
        n += marker.kind == kind;
    return n;
}

constexpr float kEast = maHalfPiF; // heading towards +x

class coTrackCollisionTest : public coEngineSceneTest {};

} // namespace

TEST_F(coTrackCollisionTest, ConsecutivePiecesAreNotMarkedAtTheirJoint) {
    coFakeCollisionPark park(-500, 500, -100);
    Track track;
    coCoasterPieceStraight& a = track.Piece({0, 10, 0}, 0.0f);
    coCoasterPieceStraight& b = track.Piece(a.GetEnd(), 0.0f);
    coCoasterPieceStraight& c = track.Piece(b.GetEnd(), 0.0f, 20.0f, 0.3f);
    for (coCoasterPiece* piece : {static_cast<coCoasterPiece*>(&a), static_cast<coCoasterPiece*>(&b),
                                  static_cast<coCoasterPiece*>(&c)})
        coRegisterPlacedPiece(track.Mesh(*piece), piece);
    EXPECT_EQ(std::tuple(coCollisionHasMarkers(), coCollisionGetRegistered().size()), std::tuple(false, 3u));

    // A piece that doubles back down the last one is marked against it, joint or not.
    coPickPathMesh* back = track.Register(c.GetEnd(), maPiF, 20.0f, -0.3f);
    EXPECT_GT(CountKind(coMarkerTrack), 0);
    bool againstLast = false;
    for (const coCollisionMarker& marker : coCollisionGetMarkers()) {
        EXPECT_EQ(marker.mesh, back);
        againstLast |= marker.other == coCollisionGetRegistered()[2];
    }
    EXPECT_TRUE(againstLast);
}

TEST_F(coTrackCollisionTest, FigureEightCrossingMarkedOnlyBelowTwiceTheRadius) {
    coFakeCollisionPark park(-500, 500, -100);
    RadiusDefinition definition(1.0f);
    for (const float gap : {1.5f, 1.99f, 2.01f, 2.5f}) {
        Track track;
        coPickPathMesh* low = track.Register({0, 10, -10}, 0.0f);
        coPickPathMesh* high = track.Register({-10, 10 + gap, 0}, kEast);
        const bool marked = gap < 2.0f;
        EXPECT_EQ(coCollisionHasMarkers(), marked) << gap;
        if (marked) {
            ASSERT_EQ(coCollisionGetMarkers().size() % 2, 0u);
            const coCollisionMarker& first = coCollisionGetMarkers()[0];
            EXPECT_EQ(std::tuple(first.kind, first.mesh, first.other), std::tuple(coMarkerTrack, high, low));
        }
    }
}

TEST_F(coTrackCollisionTest, DipUnderTheGroundGivesTerrainMarkers) {
    coFakeCollisionPark park(-500, 500, 0);
    Track track;
    track.Register({0, 5, 0}, 0.0f);
    EXPECT_FALSE(coCollisionHasMarkers());
    coPickPathMesh* dip = track.Register({50, 5, 0}, 0.0f, 20.0f, -0.5f); // ends at y = 5 - 20 tan 0.5
    EXPECT_GT(CountKind(coMarkerTerrain), 0);
    EXPECT_EQ(CountKind(coMarkerTerrain), static_cast<int>(coCollisionGetMarkers().size()));
    for (const coCollisionMarker& marker : coCollisionGetMarkers())
        EXPECT_EQ(marker.mesh, dip);

    // A mesh without a grid is not tested against the terrain.
    coPickPathMesh bare;
    bare.SetPoints(dip->GetPoints().data(), dip->GetPointCount());
    const size_t before = coCollisionGetMarkers().size();
    coRegisterPlacedPiece(&bare, nullptr);
    EXPECT_EQ(CountKind(coMarkerTerrain), static_cast<int>(before));
    coUnregisterPlacedPiece(&bare);
}

TEST_F(coTrackCollisionTest, ParkBoundClasses) {
    coFakeCollisionPark park(0, 100, -100);
    // Three segments of 20/3 from the start along the heading; a point on a bound counts as inside.
    const struct {
        maVector3d start;
        float heading, slope;
        int outside;
        const char* what;
    } cases[] = {
        {{5, 10, 50}, -kEast, 0.0f, 3, "below the lowest x"},
        {{95, 10, 50}, kEast, 0.0f, 3, "beyond the highest x"},
        {{50, 10, 5}, maPiF, 0.0f, 3, "below the lowest z"},
        {{50, 10, 95}, 0.0f, 0.0f, 3, "beyond the highest z"},
        {{50, 200, 40}, 0.0f, 0.0f, 0, "at the world's top"},
        {{20, 200.5f, 40}, 0.0f, 0.0f, 3, "above the top"},
        {{80, 10, 40}, 0.0f, -0.2f, 0, "low track: no lower bound"},
    };
    for (const auto& c : cases) {
        Track track;
        track.Register(c.start, c.heading, 20.0f, c.slope);
        EXPECT_EQ(CountKind(coMarkerOutOfPark), c.outside) << c.what;
        EXPECT_EQ(coCollisionHasKindFourMarker(), c.outside > 0) << c.what;
    }
}

TEST_F(coTrackCollisionTest, PropsAndDockOnlyWithChecksOnOrForced) {
    coFakeCollisionPark park(-500, 500, -100);
    coFakePrefs prefs;
    Track track;
    coCollisionProp prop;
    prop.box = coMakeOrientedBox({0, 10, 10}, {2, 2, 2});
    park.props = {prop};
    park.gridFree = false; // the prop occupies the grid under the track
    park.hasDock = true;
    park.dock = coMakeOrientedBox({0, 10, 30}, {3, 3, 3});

    coSetCollisionChecks(false);
    coPickPathMesh* mesh = track.Register({0, 10, 0}, 0.0f, 40.0f);
    EXPECT_EQ(std::tuple(park.propQueries, park.dockQueries, CountKind(coMarkerProp)), std::tuple(0, 0, 0));
    EXPECT_FALSE(coCollisionTestProp(prop.box));

    coCollisionSetForced(true);
    coRegisterPlacedPiece(mesh, nullptr);
    EXPECT_EQ(std::tuple(coCollisionGetRegistered().size(), park.propQueries), std::tuple(1u, 1));
    EXPECT_GT(CountKind(coMarkerProp), 0);
    EXPECT_GT(CountKind(coMarkerDock), 0);
    coCollisionSetForced(false);

    // With checks on the prop test answers at the first hit and leaves no marker.
    coSetCollisionChecks(true);
    const size_t markers = coCollisionGetMarkers().size();
    EXPECT_TRUE(coCollisionTestProp(prop.box));
    EXPECT_FALSE(coCollisionTestProp(coMakeOrientedBox({0, 20, 10}, {2, 2, 2})));
    EXPECT_EQ(coCollisionGetMarkers().size(), markers);

    // Track props are left out; a free grid skips the prop phase altogether.
    park.props[0].isTrackProp = true;
    park.hasDock = false;
    coRegisterPlacedPiece(mesh, nullptr);
    EXPECT_EQ(CountKind(coMarkerProp), 0);
    park.gridFree = true;
    const int queries = park.propQueries;
    coRegisterPlacedPiece(mesh, nullptr);
    EXPECT_EQ(park.propQueries, queries);

    // The preference keeps the checks off.
    prefs.SetDisablePropCollisions(true);
    coSetCollisionChecks(true);
    EXPECT_FALSE(coGetCollisionChecks());
    prefs.SetDisablePropCollisions(false);
    coSetCollisionChecks(true);
    EXPECT_TRUE(coGetCollisionChecks());
}

TEST_F(coTrackCollisionTest, DockIsNotTestedAgainstTheFirstPieceAndItsNeighbours) {
    coFakeCollisionPark park(-500, 500, -100);
    park.gridFree = false;
    park.hasDock = true;
    park.dock = coMakeOrientedBox({0, 10, 10}, {3, 3, 3});
    Track track;
    auto& circuit = coCircuitPieces();
    for (int i = 0; i < 4; ++i)
        circuit.push_back(std::make_unique<coCoasterPieceStraight>());
    for (int i = 0; i < 4; ++i) {
        circuit[static_cast<size_t>(i)]->SetNext(circuit[static_cast<size_t>((i + 1) % 4)].get());
        circuit[static_cast<size_t>(i)]->SetPrevious(circuit[static_cast<size_t>((i + 3) % 4)].get());
    }
    coCoasterPieceStraight& shape = track.Piece({0, 10, 0}, 0.0f);
    coPickPathMesh* mesh = track.Mesh(shape);
    for (int i : {0, 1, 3}) {
        coRegisterPlacedPiece(mesh, circuit[static_cast<size_t>(i)].get());
        EXPECT_EQ(CountKind(coMarkerDock), 0) << i;
    }
    EXPECT_EQ(park.dockQueries, 3); // asked for, but not tested
    coRegisterPlacedPiece(mesh, circuit[2].get());
    EXPECT_EQ(CountKind(coMarkerDock), 2); // the middle segment meets the dock: a beam and a box
    EXPECT_EQ(coCollisionGetRegistered().size(), 1u);
    // A dock marker on a piece other than the first or last is not at the joint.
    EXPECT_FALSE(coCollisionOnlyAtJoint());
    coRegisterPlacedPiece(mesh, circuit[3].get());
    park.hasDock = false;
    coCollisionMarkPiece(nullptr);
    circuit.clear();
}

TEST_F(coTrackCollisionTest, OnlyAtJointAndUnregistering) {
    coFakeCollisionPark park(-500, 500, -100);
    Track track;
    EXPECT_TRUE(coCollisionOnlyAtJoint());
    auto& circuit = coCircuitPieces();
    for (int i = 0; i < 3; ++i)
        circuit.push_back(std::make_unique<coCoasterPieceStraight>());
    coCoasterPieceStraight& lowShape = track.Piece({0, 10, -10}, 0.0f);
    coCoasterPieceStraight& highShape = track.Piece({-10, 11, 0}, kEast);
    coPickPathMesh* low = track.Mesh(lowShape);
    coPickPathMesh* high = track.Mesh(highShape);
    coRegisterPlacedPiece(low, circuit[0].get());
    coRegisterPlacedPiece(high, circuit[2].get());
    ASSERT_TRUE(coCollisionHasMarkers());
    EXPECT_TRUE(coCollisionOnlyAtJoint()); // first against last
    EXPECT_EQ(std::tuple(scGetUpdateListCount(), FragmentCount()),
              std::tuple(coCollisionGetMarkers().size(), 2u));

    coRegisterPlacedPiece(high, circuit[1].get()); // re-registered on a middle piece
    EXPECT_EQ(std::tuple(coCollisionOnlyAtJoint(), coCollisionGetRegistered().size()), std::tuple(false, 2u));

    // Unregistering the low mesh drops the markers that name it as the other mesh too.
    coUnregisterPlacedPiece(low);
    EXPECT_EQ(std::tuple(coCollisionHasMarkers(), scGetUpdateListCount(), coCollisionGetRegistered()),
              std::tuple(false, 0u, std::vector<coPickPathMesh*>{high}));
    coCollisionMarkPiece(high);
    EXPECT_EQ(CountKind(coMarkerPiece), high->GetPointCount() - 1);
    EXPECT_FALSE(coCollisionOnlyAtJoint());
    coCollisionClearMarkers();
    EXPECT_EQ(std::tuple(scGetUpdateListCount(), FragmentCount(), coCollisionGetRegistered().empty()),
              std::tuple(0u, 0u, true));
    circuit.clear();
}

TEST_F(coTrackCollisionTest, MarkerObjects) {
    coFakeCollisionPark park(-500, 500, -100);
    Track track;
    RadiusDefinition definition(0.5f);
    coPickPathMesh* mesh = track.Register({0, 10, 0}, kEast);
    coCollisionMarkPiece(mesh);
    // A beam along each of the three segments, as thick as the extrusion.
    ASSERT_EQ(coCollisionGetMarkers().size(), 3u);
    const auto* beam = dynamic_cast<const scSimpleMovableObject*>(coCollisionGetMarkers()[1].object.get());
    ASSERT_NE(beam, nullptr);
    EXPECT_EQ(std::tuple(scIsInUpdateList(beam), beam->GetScale().x), std::tuple(true, 0.5f));
    EXPECT_NEAR(beam->GetScale().z, 20.0f / 3.0f, 1e-4f);
    EXPECT_NEAR(beam->GetPosition().x, 20.0f / 3.0f, 1e-4f);
    maVector3d along(0, 0, 1);
    beam->GetRotation().Rotate(along);
    EXPECT_NEAR(along.x, 1.0f, 1e-5f);
    EXPECT_TRUE(beam->IsVisible());
    coCollisionShowMarkers(false);
    EXPECT_FALSE(beam->IsVisible());
    coCollisionMarkPiece(mesh);
    EXPECT_FALSE(coCollisionGetMarkers().back().object->IsVisible());
    coCollisionShowMarkers(true);

    // A mesh of fewer than two points takes part in nothing.
    coPickPathMesh lone;
    const maVector3d point(0, -500, 0);
    lone.SetPoints(&point, 1);
    const size_t before = coCollisionGetMarkers().size();
    coRegisterPlacedPiece(&lone, nullptr);
    coCollisionMarkPiece(&lone);
    EXPECT_EQ(coCollisionGetMarkers().size(), before);
    coUnregisterPlacedPiece(&lone);
}

TEST_F(coTrackCollisionTest, QueriesOfBoxesSupportsPicksAndRings) {
    coFakeCollisionPark park(-500, 500, -100);
    Track track;
    coPickPathMesh* mesh = track.Register({0, 10, 0}, 0.0f, 40.0f);               // along +z at y 10
    EXPECT_TRUE(coCollisionBoxOverlaps(maBoundingBox({-1, 9, 19}, {1, 11, 21}))); // segment through it
    EXPECT_TRUE(coCollisionBoxOverlaps(maBoundingBox({0.8f, 9, 5}, {3, 11, 6}))); // widened by r = 1
    EXPECT_FALSE(coCollisionBoxOverlaps(maBoundingBox({1.2f, 9, 5}, {3, 11, 6})));
    EXPECT_FALSE(coCollisionBoxOverlaps(maBoundingBox({-1, 9, 45}, {1, 11, 50})));

    EXPECT_EQ(std::tuple(coCollisionTestSupport({0, 0, 20}, {0, 9.5f, 20}, 1.0f),
                         coCollisionTestSupport({0, 0, 20}, {0, 8.5f, 20}, 1.0f),
                         coCollisionTestSupport({5, 0, 20}, {5, 20, 20}, 1.0f)),
              std::tuple(true, false, false));

    float height = -1.0f;
    const maVector3d wall[4] = {{-3, 0, 12}, {3, 0, 12}, {3, 20, 12}, {-3, 20, 12}};
    EXPECT_TRUE(
        coCollisionTestWoodSupport(wall, 4, {0, 0, 1}, height, maBoundingBox({-3, 0, 12}, {3, 20, 12})));
    EXPECT_NEAR(height, 10.0f, 1e-4f);
    EXPECT_FALSE(
        coCollisionTestWoodSupport(wall, 2, {0, 0, 1}, height, maBoundingBox({-3, 0, 12}, {3, 20, 12})));
    const maVector3d low[4] = {{-3, 0, 12}, {3, 0, 12}, {3, 5, 12}, {-3, 5, 12}};
    EXPECT_FALSE(
        coCollisionTestWoodSupport(low, 4, {0, 0, 1}, height, maBoundingBox({-3, 0, 12}, {3, 5, 12})));

    float t = 0.0f;
    EXPECT_EQ(coCollisionPickPiece({0, 30, 10}, {0, -10, 10}, t), mesh);
    EXPECT_NEAR(t, 0.5f, 1e-4f);
    EXPECT_EQ(coCollisionPickPiece({20, 30, 10}, {20, -10, 10}, t), nullptr);
    EXPECT_EQ(t, 1.0f);

    coRingShape ring;
    ring.centre = {0, 10, 20};
    ring.normal = {0, 0, 1}; // faces the way the track runs
    ring.radius = 3.0f;
    ring.kind = 0;
    EXPECT_TRUE(coCollisionTestRing(ring));
    ring.normal = {0, 0, -1}; // crossed against its facing: a one-way ring stays unpassed
    EXPECT_FALSE(coCollisionTestRing(ring));
    ring.kind = 1;
    EXPECT_TRUE(coCollisionTestRing(ring));
    ring.centre = {0, 14, 20}; // the track passes outside the disc
    EXPECT_FALSE(coCollisionTestRing(ring));
}

// A box overlaps track whose centre line comes within the radius of it, wherever the line starts: here
// first a line that starts inside the box and leaves it slanting on every axis. Random lines and boxes
// agree with points sampled along the lines: a sample inside the widened box means overlap, and an
// overlap has a sample near it.
TEST_F(coTrackCollisionTest, BoxOverlapAgreesWithSampledCentreLines) {
    coFakeCollisionPark park(-500, 500, -100);
    coPickPathMesh mesh;
    const maVector3d slant[3] = {{0, 2, 0}, {10, 6, 10}, {20, 10, 20}};
    mesh.SetPoints(slant, 3);
    coRegisterPlacedPiece(&mesh, nullptr);
    EXPECT_TRUE(coCollisionBoxOverlaps(maBoundingBox({-2, 0, -2}, {2, 4, 2})));
    coCollisionClearMarkers();

    std::mt19937 random(62);
    std::uniform_real_distribution<float> coordinate(-10.0f, 10.0f), half(0.2f, 4.0f);
    auto point = [&] { return maVector3d(coordinate(random), coordinate(random), coordinate(random)); };
    int overlaps = 0;
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<maVector3d> points(2 + trial % 4);
        std::generate(points.begin(), points.end(), point);
        const maVector3d centre = point(), size(half(random), half(random), half(random));
        const maBoundingBox box(centre - size, centre + size);
        mesh.SetPoints(points.data(), static_cast<int>(points.size()));
        coRegisterPlacedPiece(&mesh, nullptr);
        const bool answer = coCollisionBoxOverlaps(box);
        coCollisionClearMarkers();

        bool sampled = false, near = false;
        for (size_t i = 1; i < points.size(); ++i) {
            const maVector3d step = (points[i] - points[i - 1]) / 500.0f;
            for (int k = 0; k <= 500; ++k) {
                const maVector3d p = points[i - 1] + step * static_cast<float>(k);
                sampled = sampled || coBoxesOverlap(coBoxGrow(box, 1.0f), maBoundingBox(p, p));
                near = near || coBoxesOverlap(coBoxGrow(box, 1.0f + step.Length()), maBoundingBox(p, p));
            }
        }
        overlaps += answer;
        EXPECT_TRUE(!sampled || answer) << trial;
        EXPECT_TRUE(!answer || near) << trial;
    }
    EXPECT_GT(overlaps, 30);
}
