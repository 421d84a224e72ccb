#include "Source/Modes/coEditorSelection.h"
#include "Source/Modes/coEditorPick.h"

#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Collision/coPickPathMesh.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Scene/coObject.h"

#include "Source/Modes/coEditorTestSupport.h"

namespace {

// A pickable object hit at a fixed fraction of the ray, recording the rays it was asked about.
struct coFixedObject : coObject {
    maBoundingBox GetBoundingBox() const override { return {}; }
    bool RayTest(const maVector3d& origin, const maVector3d& direction, f32& t) const override {
        rays.emplace_back(origin, direction);
        if (hitAt < 0.0f)
            return false;
        t = hitAt;
        return true;
    }
    float hitAt = -1.0f;
    mutable std::vector<std::pair<maVector3d, maVector3d>> rays;
};

// Objects are props; collision paths belong to the pieces they were registered for.
struct coPickWorld : coPropsOnlyEditorWorld {
    coCoasterPiece* FindPieceByCollisionPath(const coPickPathMesh* mesh) const override {
        const auto found = pieces.find(mesh);
        return found == pieces.end() ? nullptr : found->second;
    }
    std::map<const coPickPathMesh*, coCoasterPiece*> pieces;
};

class coEditorPickTest : public coCircuitFixture {
  protected:
    coEditorPickTest() {
        first = coAppendStraight(10.0f);
        second = coAppendStraight(10.0f);
        park.dock = &dock;
    }
    ~coEditorPickTest() override { coCollisionClearMarkers(); }

    // A collision path across the view axis (+z from the origin) at depth z, for the piece.
    void PathAcross(coPickPathMesh& mesh, float z, coCoasterPiece* piece) {
        const maVector3d points[2] = {{-10.0f, 0.0f, z}, {10.0f, 0.0f, z}};
        mesh.SetPoints(points, 2);
        coRegisterPlacedPiece(&mesh, piece);
        world.pieces[&mesh] = piece;
    }
    void PickCentre() { coEditorPickAt(camera, 400, 300, 800, 600); }

    coScriptedEditorInput input;
    coPickWorld world;
    coFakeDock dock;
    g3dCamera camera;
    coCoasterPiece* first = nullptr;
    coCoasterPiece* second = nullptr;
};

TEST_F(coEditorPickTest, ReleaseShortAndStillPicks) {
    const struct {
        double held;
        i32 dx, dy;
        bool claimed;
        bool picks;
    } cases[] = {{0.99, 4, 4, false, true},
                 {1.0, 0, 0, false, false},
                 {0.5, 5, 0, false, false},
                 {0.5, 0, -5, false, false},
                 {0.5, 0, 0, true, false}};
    for (const auto& c : cases) {
        coFixedObject object;
        input.Clear();
        input.time = 10.0;
        input.pointerX = 100, input.pointerY = 100;
        input.down = {coActionMouseLeft};
        if (c.claimed)
            input.claimed = {coMouseRecordLeft};
        coEditorClickPick(camera);
        input.Clear();
        input.time = 10.0 + c.held;
        input.pointerX = 100 + c.dx, input.pointerY = 100 + c.dy;
        input.released = {coActionMouseLeft};
        coEditorClickPick(camera);
        EXPECT_EQ(!object.rays.empty(), c.picks) << c.held << " " << c.dx << " " << c.dy;
    }
}

TEST_F(coEditorPickTest, RayRunsThousandTimesToTheScreenPoint) {
    coFixedObject object;
    coEditorPickAt(camera, 600, 150, 800, 600);
    ASSERT_EQ(object.rays.size(), 1u);
    const maVector3d expected = (camera.ScreenToWorld(0.5f, 0.5f) - *camera.GetPosition()) * 1000.0f;
    EXPECT_NEAR(object.rays[0].second.x, expected.x, 1e-3f);
    EXPECT_NEAR(object.rays[0].second.y, expected.y, 1e-3f);
    EXPECT_NEAR(object.rays[0].second.z, expected.z, 1e-3f);
}

TEST_F(coEditorPickTest, NearestOfPieceAndObjectIsSelected) {
    coPickPathMesh mesh;
    PathAcross(mesh, 50.0f, second); // at 0.05 of the ray
    coFixedObject object;

    object.hitAt = 0.03f;
    PickCentre();
    EXPECT_EQ(coSelectionGetKind(), coSelectionProp);
    EXPECT_EQ(coSelectionGetObjectBase(), &object);

    object.hitAt = 0.08f;
    PickCentre();
    EXPECT_EQ(coSelectionGetKind(), coSelectionPiece);
    EXPECT_EQ(coSelectionGetObject(), second);
    EXPECT_EQ(coSelectionGetProp(), nullptr);

    object.hitAt = 0.03f;
    input.keys = {coKeyRightControl};
    PickCentre();
    EXPECT_EQ(coSelectionGetObject(), second) << "Control picks tracks only";
}

TEST_F(coEditorPickTest, StationSelectsTheDockAndAMissChangesNothing) {
    coPickPathMesh mesh;
    PathAcross(mesh, 50.0f, first);
    PickCentre();
    EXPECT_EQ(coSelectionGetKind(), coSelectionDock);
    EXPECT_EQ(coSelectionGetDock(), &dock);

    coSelectionSetPiece(second);
    g3dCamera away;
    away.LookAt(maVector3d(), maVector3d(0.0f, 1.0f, 0.0f), maVector3d(0.0f, 0.0f, 1.0f));
    input.keys = {coKeyLeftControl}; // other tests' objects may lie anywhere
    coEditorPickAt(away, 400, 300, 800, 600);
    EXPECT_EQ(coSelectionGetObject(), second);

    // Without a dock (a new one was cancelled) the station itself is selected, never a null dock.
    park.dock = nullptr;
    PickCentre();
    EXPECT_EQ(coSelectionGetKind(), coSelectionPiece);
    EXPECT_EQ(coSelectionGetObject(), first);
}

TEST_F(coEditorPickTest, SelectingOneKindClearsTheOthers) {
    coFixedObject object;
    coSelectionSetPiece(second);
    coSelectionSetObject(&object);
    EXPECT_EQ(coSelectionGetObject(), nullptr);
    coSelectionSetPiece(second);
    EXPECT_EQ(coSelectionGetProp(), nullptr);
    EXPECT_EQ(coSelectionGetObjectBase(), nullptr);
    coSetEditorWorld(nullptr); // nothing is selectable by default
    coSelectionSetObject(&object);
    EXPECT_EQ(coSelectionGetKind(), coSelectionNone);
    coSetEditorWorld(&world);
}

} // namespace
