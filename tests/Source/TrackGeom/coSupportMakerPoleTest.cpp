#include "Source/TrackGeom/coSupportMakerPole.h"

#include "Source/Collision/coPickPathMesh.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceLoop.h"

#include "Source/Collision/coCollisionTestSupport.h"
#include "Source/Track/coCircuitTestSupport.h"
#include "coTrackSceneTestSupport.h"

#include <cmath>
#include <tuple>

namespace {

// Inverted or not, with an extrusion scale; installed for its lifetime.
class PoleDefinition : public coCoasterDefinition {
  public:
    PoleDefinition() { coSetCoasterDefinition(this); }
    ~PoleDefinition() override { coSetCoasterDefinition(nullptr); }
    bool GetInverted() const override { return inverted; }
    float GetExtrusionScale() const override { return scale; }

    bool inverted = false;
    float scale = 1.0f;
};

// Props found by their world boxes, as the park finds them.
class BoxedPropsPark : public coFakeCollisionPark {
  public:
    BoxedPropsPark() : coFakeCollisionPark(-1000.0f, 1000.0f, 0.0f) {}
    void FindPropsInBox(const maBoundingBox& box, std::vector<coCollisionProp>& found) const override {
        found.clear();
        for (const coCollisionProp& prop : props) {
            const maVector3d low = prop.box.transform.TransformPoint(prop.box.local.GetMin());
            const maVector3d high = prop.box.transform.TransformPoint(prop.box.local.GetMax());
            if (low.x <= box.maxX && high.x >= box.minX && low.y <= box.maxY && high.y >= box.minY &&
                low.z <= box.maxZ && high.z >= box.minZ)
                found.push_back(prop);
        }
    }
};

// One box fragment a model.
struct BoxModel : coModelHolder {
    BoxModel() : fragment(g3dFragmentManager::CreateBox(1.0f, 1.0f, 1.0f)) {}
    ~BoxModel() override { g3dFragmentManager::DestroyFragment(fragment); }
    int GetModelCount() const override { return 1; }
    g3dFragment* GetModel(int) const override { return fragment; }
    g3dFragment* fragment;
};

std::unique_ptr<coSupportGeometry> Entry(int group = 0) {
    auto entry = std::make_unique<coSupportGeometry>();
    entry->model = std::make_unique<BoxModel>();
    entry->group = group;
    return entry;
}

// A square tube outline, closed by repeating its first point, in group `lod`.
std::unique_ptr<coSupportPole> Pole(int lod = 0, float spacing = 4.0f) {
    auto pole = std::make_unique<coSupportPole>();
    const maVector2d square[5] = {{-0.2f, -0.2f}, {0.2f, -0.2f}, {0.2f, 0.2f}, {-0.2f, 0.2f}, {-0.2f, -0.2f}};
    pole->SetVertices(square, 5);
    pole->SetLOD(lod);
    pole->SetTextureSpacing(spacing);
    return pole;
}

class coSupportMakerPoleTest : public coTrackSceneTest {
  protected:
    coSupportMakerPoleTest() {
        park.hasTerrain = true;
        park.groundLevel = 3.0f;
        maker->AddPole(Pole());
        maker->AddPoleGeometry(Entry());
        maker->AddJointGeometry(Entry());
        maker->AddHalfJointGeometry(Entry());
    }
    void TearDown() override {
        maker.reset();
        coCollisionClearMarkers();
        coTrackSceneTest::TearDown();
    }

    // The pole models placed, as (bottom, top) segments: at b, up along the rotated y by the y scale.
    static std::vector<std::pair<maVector3d, maVector3d>> PoleModels(const coSceneObjectSet& set,
                                                                     const g3dFragment* model) {
        std::vector<std::pair<maVector3d, maVector3d>> segments;
        for (const coTrackObject* object : Objects(set)) {
            if (object->GetFragment() != model)
                continue;
            const coTrackObjectPlacement& placement = object->GetPlacement();
            maVector3d up(0.0f, placement.scale.y, 0.0f);
            placement.rotation.Rotate(up);
            segments.emplace_back(placement.position, placement.position + up);
        }
        return segments;
    }
    const g3dFragment* Model(const std::vector<std::unique_ptr<coSupportGeometry>>& list) const {
        return list[0]->model->GetModel(0);
    }

    coFakePark park;
    BoxedPropsPark collisionPark;
    PoleDefinition definition;
    std::unique_ptr<coSupportMakerPole> maker = std::make_unique<coSupportMakerPole>();
};

} // namespace

// The kind by piece class, roll and inversion.
TEST_F(coSupportMakerPoleTest, KindTable) {
    coCoasterPieceLoop loop;
    coCoasterPieceCorkscrew corkscrew;
    coTestLinePiece line;
    const struct {
        coCoasterPiece* piece;
        float roll;
        int normal, inverted;
    } cases[] = {
        {&corkscrew, 0.0f, 1, 1}, {&loop, 0.0f, 1, 3},   {&loop, 60.0f, 1, 1},
        {&line, 0.0f, 0, 4},      {&line, -45.0f, 0, 4}, {&line, 46.0f, 1, 1},
        {&line, -134.0f, 1, 1},   {&line, 135.0f, 4, 0}, {&line, 180.0f, 4, 0},
    };
    for (const auto& c : cases) {
        c.piece->SetRoll(coDegrees(c.roll));
        EXPECT_EQ(coSupportMakerPole::SupportKind(*c.piece, false), c.normal) << c.roll;
        EXPECT_EQ(coSupportMakerPole::SupportKind(*c.piece, true), c.inverted) << c.roll;
    }
}

// How many supports a piece gets by the circuit's size, its index and inversion.
TEST_F(coSupportMakerPoleTest, CountsByCircuitSize) {
    const struct {
        int pieces;
        bool inverted;
        std::vector<int> counts; // of the pieces at index 0 to 5
        int outside;             // of a piece not in the circuit
    } cases[] = {
        {10, false, {1, 1, 1, 1, 1, 1}, 1},  {10, true, {0, 1, 0, 1, 0, 1}, 0},
        {200, false, {0, 1, 0, 1, 0, 1}, 0}, {399, false, {0, 1, 0, 1, 0, 1}, 0},
        {400, false, {0, 1, 0, 0, 1, 0}, 0}, {599, false, {0, 1, 0, 0, 1, 0}, 0},
        {400, true, {0, 1, 0, 0, 0, 1}, 0},
    };
    coCoasterPieceLoop loop;
    coTestLinePiece outside;
    for (const auto& c : cases) {
        std::vector<std::unique_ptr<coCoasterPiece>> pieces;
        for (int i = 0; i < c.pieces; ++i)
            pieces.push_back(std::make_unique<coTestLinePiece>(1.0f));
        std::vector<coCoasterPiece*> first;
        for (int i = 0; i < 6; ++i)
            first.push_back(pieces[static_cast<size_t>(i)].get());
        coCircuitRebuildFromList(std::move(pieces));
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(coSupportMakerPole::SupportCount(*first[static_cast<size_t>(i)], 0, c.inverted),
                      c.counts[static_cast<size_t>(i)])
                << c.pieces << " " << i;
        EXPECT_EQ(coSupportMakerPole::SupportCount(outside, 0, c.inverted), c.outside) << c.pieces;
        EXPECT_EQ(coSupportMakerPole::SupportCount(loop, 1, c.inverted), 2);
        EXPECT_EQ(coSupportMakerPole::SupportCount(loop, 4, c.inverted), 1);
    }
    coCircuitClear();
}

// A flat straight gets one pole at 0.33 from the centre line to 10 below the ground (or to -10 over a
// hole); a 90 degree bank an arm of XOffset, then a pole; each segment extruded and its model stretched.
TEST_F(coSupportMakerPoleTest, PolesAndArms) {
    const maVector3d start(0.0f, 20.0f, 0.0f);
    const maVector3d p(0.0f, 20.0f, 3.3f);
    const struct {
        float roll, hole;
        std::vector<std::pair<maVector3d, maVector3d>> segments; // (top, bottom)
    } cases[] = {
        {0.0f, 0.0f, {{p, {0.0f, -7.0f, 3.3f}}}},
        {0.0f, 5.0f, {{p, {0.0f, -10.0f, 3.3f}}}},
        // The frame's up is -x: the arm reaches out of the underside, to +x.
        {90.0f, 0.0f, {{p, {4.0f, 20.0f, 3.3f}}, {{4.0f, 20.0f, 3.3f}, {4.0f, -7.0f, 3.3f}}}},
    };
    for (const auto& c : cases) {
        park.holeRadius = c.hole;
        coExactLinePiece piece(10.0f, start, coDegrees(c.roll));
        coSceneObjectSet set;
        EXPECT_TRUE(maker->MakeSupports(piece, set));
        const auto models = PoleModels(set, Model(maker->GetPoleGeometry()));
        ASSERT_EQ(models.size(), c.segments.size()) << c.roll;
        std::vector<const coTrackObject*> sections;
        for (const coTrackObject* object : Objects(set))
            if (object->GetKind() == coTrackObjectKind::Static)
                sections.push_back(object);
        ASSERT_EQ(sections.size(), c.segments.size());
        for (size_t s = 0; s < models.size(); ++s) {
            const auto& [top, bottom] = c.segments[s];
            ExpectVectorNear(models[s].first, bottom, 1e-4f);
            ExpectVectorNear(models[s].second, top, 1e-4f);
            // The section's two rings lie round the top and the bottom; v runs to trunc(length / 4).
            const g3dFragment& fragment = *sections[s]->GetFragment();
            ASSERT_EQ(fragment.GetVertexCount(), 10);
            EXPECT_EQ(fragment.GetIndexCount(), 24);
            const auto ringTop = VertexAt<g3dVertexPNT2>(fragment, 0);
            const auto ringBottom = VertexAt<g3dVertexPNT2>(fragment, 5);
            EXPECT_NEAR((ringTop.position - top).Length(), std::sqrt(0.08f), 1e-4f);
            EXPECT_NEAR((ringBottom.position - bottom).Length(), std::sqrt(0.08f), 1e-4f);
            EXPECT_EQ(ringBottom.uv.y, std::trunc((bottom - top).Length() / 4.0f));
        }
    }
}

// Rolled 180 degrees: two legs from 2.0 above the track and 4.0 aside, leaning SupportAngle (its whole
// degrees) outwards, and the joint at the track point; a prop on one leg leaves the half joint, its -x
// turned to the standing leg.
TEST_F(coSupportMakerPoleTest, PortalsAndHalfJoints) {
    const maVector3d start(0.0f, 20.0f, 0.0f);
    const maVector3d p(0.0f, 20.0f, 3.3f);
    const struct {
        float angle;
        int blocked; // 0 none, else the world x sign of the blocked leg
    } cases[] = {{5.0f, 0}, {7.9f, 0}, {5.0f, 1}, {5.0f, -1}};
    for (const auto& c : cases) {
        maker->SetSupportAngle(c.angle);
        collisionPark.props.clear();
        if (c.blocked != 0)
            collisionPark.props.push_back(
                {coMakeOrientedBox({4.0f * static_cast<float>(c.blocked), 10.0f, 3.3f}, {1.0f, 1.0f, 1.0f}),
                 false});
        coExactLinePiece piece(10.0f, start, coDegrees(180.0f));
        coSceneObjectSet set;
        EXPECT_TRUE(maker->MakeSupports(piece, set));
        const auto legs = PoleModels(set, Model(maker->GetPoleGeometry()));
        ASSERT_EQ(legs.size(), c.blocked == 0 ? 2u : 1u);
        const float lean = std::tan(coDegrees(90.0f - std::trunc(c.angle))); // 11.43 at 5 degrees
        for (const auto& [bottom, top] : legs) {
            EXPECT_NEAR(std::fabs(top.x), 4.0f, 1e-5f);
            EXPECT_NEAR(top.y, 22.0f, 1e-5f);
            const maVector3d d = bottom - top;
            EXPECT_NEAR(d.y / (d.x * (top.x > 0.0f ? 1.0f : -1.0f)), -lean, 1e-2f) << c.angle;
            EXPECT_LE(bottom.y, 3.0f);
            if (c.blocked != 0) {
                EXPECT_LT(top.x * static_cast<float>(c.blocked), 0.0f);
            }
        }
        const g3dFragment* joint =
            Model(c.blocked == 0 ? maker->GetJointGeometry() : maker->GetHalfJointGeometry());
        const g3dFragment* other =
            Model(c.blocked == 0 ? maker->GetHalfJointGeometry() : maker->GetJointGeometry());
        const auto joints = PoleModels(set, joint);
        ASSERT_EQ(joints.size(), 1u);
        EXPECT_TRUE(PoleModels(set, other).empty());
        ExpectVectorNear(joints[0].first, p, 1e-4f);
        if (c.blocked != 0) {
            for (const coTrackObject* object : Objects(set)) {
                if (object->GetFragment() != joint)
                    continue;
                maVector3d side(-1.0f, 0.0f, 0.0f);
                object->GetPlacement().rotation.Rotate(side);
                EXPECT_NEAR(side.x, -static_cast<float>(c.blocked), 1e-5f);
            }
        }
    }

    // Below one whole degree the legs stand upright on the ground below their tops, where the tangent of
    // 90 degrees would have sent them upwards.
    maker->SetSupportAngle(0.5f);
    collisionPark.props.clear();
    coExactLinePiece piece(10.0f, start, coDegrees(180.0f));
    coSceneObjectSet set;
    EXPECT_TRUE(maker->MakeSupports(piece, set));
    const auto legs = PoleModels(set, Model(maker->GetPoleGeometry()));
    ASSERT_EQ(legs.size(), 2u);
    for (const auto& [bottom, top] : legs)
        ExpectVectorNear(bottom, maVector3d(top.x, -7.0f, top.z), 1e-4f);
}

// A prop whose bounds meet the pole's box, the dock on its path or a registered track path within the
// extrusion scale blocks it; one just beyond the scale does not. Nothing is added for a blocked pole.
TEST_F(coSupportMakerPoleTest, BlockedPolesAreLeftOut) {
    const maVector3d start(0.0f, 20.0f, 0.0f);
    coPickPathMesh path;
    const struct {
        const char* what;
        float pathDistance; // the crossing path's distance from the pole (0: none)
        bool prop, dock, built;
    } cases[] = {
        {"clear", 0.0f, false, false, true},       {"prop", 0.0f, true, false, false},
        {"dock", 0.0f, false, true, false},        {"path within", 0.9f, false, false, false},
        {"path beyond", 1.1f, false, false, true},
    };
    for (const auto& c : cases) {
        collisionPark.props.clear();
        if (c.prop)
            collisionPark.props.push_back(
                {coMakeOrientedBox({0.5f, 10.0f, 3.3f}, {1.0f, 1.0f, 1.0f}), false});
        collisionPark.hasDock = c.dock;
        collisionPark.dock = coMakeOrientedBox({0.0f, 5.0f, 3.0f}, {2.0f, 1.0f, 2.0f});
        if (c.pathDistance > 0.0f) {
            const maVector3d points[2] = {{-20.0f, 10.0f, 3.3f + c.pathDistance},
                                          {20.0f, 10.0f, 3.3f + c.pathDistance}};
            path.SetPoints(points, 2);
            coRegisterPlacedPiece(&path, nullptr);
        }
        coExactLinePiece piece(10.0f, start);
        coSceneObjectSet set;
        EXPECT_EQ(maker->MakeSupports(piece, set), c.built) << c.what;
        EXPECT_EQ(set.GetGroupCount() > 0, c.built) << c.what;
        coUnregisterPlacedPiece(&path);
    }
}

// Every pole section along a segment, but those above group 1 on arms; an empty outline ends the later
// sections; a segment straight along -z is turned half about y; no length, nothing.
TEST_F(coSupportMakerPoleTest, SegmentsExtrudeEveryPoleSection) {
    maker->AddPole(Pole(2));
    maker->AddPole(std::make_unique<coSupportPole>());
    maker->AddPole(Pole(1));
    const maVector3d a(1.0f, 2.0f, 3.0f);
    const struct {
        maVector3d b;
        bool arm;
        size_t sections, models;
    } cases[] = {
        {{1.0f, -5.0f, 3.0f}, false, 2, 1},
        {{1.0f, -5.0f, 3.0f}, true, 1, 1},
        {{1.0f, 2.0f, 3.0f}, false, 0, 0},
        {{1.0f, 2.0f, -2.0f}, false, 2, 1},
    };
    for (const auto& c : cases) {
        coSceneObjectSet set;
        maker->AddSegment(a, c.b, set, c.arm);
        size_t sections = 0, models = 0;
        for (const coTrackObject* object : Objects(set)) {
            sections += object->GetKind() == coTrackObjectKind::Static;
            models += object->GetKind() == coTrackObjectKind::Placed;
        }
        EXPECT_EQ(std::tuple(sections, models), std::tuple(c.sections, c.models));
        if (c.b.z < a.z) {
            // (x, y) of the outline turned half about y: (-x, y).
            const auto corner = VertexAt<g3dVertexPNT2>(*Objects(set)[0]->GetFragment(), 1);
            ExpectVectorNear(corner.position, a + maVector3d(-0.2f, -0.2f, 0.0f), 1e-4f);
        }
    }
}
