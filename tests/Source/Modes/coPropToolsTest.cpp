// Placing, turning and moving props: the prop follows the pointer on the terrain or the track, the grid's
// footprint tells where it may stand, and what may not stand is refused or undone.
#include "Source/Modes/coModeManipulateProp.h"
#include "Source/Modes/coModePlaceProp.h"

#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Source/Modes/coEditorSelection.h"
#include "Source/Modes/coModeEditor.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/World/coTrackProp.h"

#include "Source/Modes/coToolTestSupport.h"

namespace {

class coPropToolTest : public coToolTest {
  protected:
    // A lamp placed through the tool under the pointer.
    coProp* Place() {
        coModePlaceProp place;
        place.SetCamera(&camera);
        place.SetTemplate(&lamp);
        place.Enter();
        Frame(place);
        Click(place);
        place.Exit();
        return coSelectionGetProp();
    }
    bool FootprintGreen() const {
        const g3dARGBColor& colour = coGetPlacementGrid().GetFootprintMaterial().GetDiffuse();
        return colour.g > colour.r;
    }
};

TEST_F(coPropToolTest, APropIsPlacedOnlyWhereItWasShownAndMayStand) {
    coModePlaceProp place;
    place.SetCamera(&camera);
    place.SetTemplate(&lamp);
    place.Enter();
    EXPECT_EQ(host.messages, std::vector<u32>{3});

    // Over the sky before it was ever shown: the click does nothing.
    park.hasTerrain = false;
    Click(place);
    EXPECT_EQ(place.GetResult(), coMode::Stay);
    EXPECT_FALSE(place.GetProp()->IsVisible());

    park.hasTerrain = true;
    Frame(place);
    const maVector3d ground = Ground();
    EXPECT_TRUE(place.GetProp()->IsVisible());
    EXPECT_EQ(place.GetProp()->GetPosition(), maVector3d(ground.x, ground.y + 1.5f, ground.z));
    EXPECT_TRUE(FootprintGreen());
    Click(place);
    EXPECT_EQ(place.GetResult(), coMode::Leave);
    EXPECT_EQ(host.sounds, std::vector<int>{6});
    place.Exit();
    coProp* placed = coSelectionGetProp();
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->GetPosition().y, ground.y + 1.5f);
    EXPECT_FALSE(coGetPlacementGrid().IsBoxFree(placed->GetBounds()));
    EXPECT_EQ(builder.nearBoxes.size(), 1u);

    // A second lamp over the first: red, refused with message 4, and thrown away on cancel.
    host.messages.clear();
    place.SetCamera(&camera);
    place.SetTemplate(&lamp);
    place.Enter();
    Frame(place);
    EXPECT_FALSE(FootprintGreen());
    Click(place);
    EXPECT_EQ(place.GetResult(), coMode::Stay);
    EXPECT_EQ(host.messages, (std::vector<u32>{3, 4}));
    input.released = {coActionEscape, coActionMouseLeft};
    Frame(place);
    EXPECT_EQ(place.GetResult(), coMode::Leave);
    place.Exit();
    std::vector<coProp*> all;
    coPropList::CollectAll(all);
    EXPECT_EQ(all, std::vector<coProp*>{placed});
    EXPECT_EQ(coSelectionGetProp(), placed);
}

TEST_F(coPropToolTest, TrackPropsGoOnAnyPieceButTheFirst) {
    coAppendStraight(40.0f);
    coAppendStraight(40.0f);
    coCoasterPiece* first = coCircuitFirstPiece();
    coCoasterPiece* second = coCircuitLastPiece();
    std::vector<std::unique_ptr<coPickPathMesh>> paths;
    for (coCoasterPiece* piece : {first, second}) {
        const maVector3d ends[] = {piece->PointAt(0.0f), piece->PointAt(1.0f)};
        auto& mesh = paths.emplace_back(std::make_unique<coPickPathMesh>());
        mesh->SetPoints(ends, 2);
        coRegisterPlacedPiece(mesh.get(), piece);
        builder.owners[mesh.get()] = piece;
    }
    // Look straight down on the track.
    const auto over = [&](const coCoasterPiece* piece, float fraction) {
        const maVector3d p = piece->PointAt(fraction);
        camera.LookAt(p + maVector3d(0.0f, 50.0f, 0.0f), p, maVector3d(0.0f, 0.0f, 1.0f));
    };

    coModePlaceTrackProp place;
    place.SetCamera(&camera);
    place.SetTemplate(&flag);
    place.Enter();
    over(first, 0.5f);
    Frame(place);
    EXPECT_EQ(place.GetProp()->GetPiece(), nullptr);
    over(second, 0.25f);
    Frame(place);
    EXPECT_EQ(place.GetProp()->GetPiece(), second);
    EXPECT_NEAR(place.GetProp()->GetDistance(), 0.25f, 0.01f);
    over(first, 0.5f);
    Click(place); // it stays on the second piece and is placed there
    place.Exit();
    auto* placed = dynamic_cast<coTrackProp*>(coSelectionGetProp());
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->GetPiece(), second);

    // Moving it onto the first piece is impossible; cancelling puts it back.
    coModeTranslateTrackProp move;
    move.SetCamera(&camera);
    move.SetProp(placed);
    over(second, 0.25f); // the pointer on the prop: no grab offset
    move.Enter();
    over(first, 0.5f);
    Frame(move);
    EXPECT_EQ(placed->GetPiece(), second);
    over(second, 0.75f);
    Frame(move);
    EXPECT_NEAR(placed->GetDistance(), 0.75f, 0.01f);
    input.released.insert(coActionEscape);
    Frame(move);
    move.Exit();
    EXPECT_NEAR(placed->GetDistance(), 0.25f, 0.01f);

    // A track prop never attached is thrown away.
    place.SetCamera(&camera);
    place.SetTemplate(&flag);
    place.Enter();
    over(first, 0.5f);
    Click(place);
    place.Exit();
    std::vector<coProp*> all;
    coPropList::CollectAll(all);
    EXPECT_EQ(all.size(), 1u);
    for (auto& mesh : paths)
        coUnregisterPlacedPiece(mesh.get());
}

TEST_F(coPropToolTest, TurningFollowsTheMotionAndCountsOnlyFreeReleases) {
    coProp* prop = Place();
    ASSERT_NE(prop, nullptr);
    const float start = prop->GetAngle();
    const maBoundingBox startBox = prop->GetBounds();
    for (const bool drag : {true, false}) {
        coPrefs::SetBool(coPrefDragOrClick, drag);
        coModeRotateProp rotate;
        rotate.SetCamera(&camera);
        rotate.SetProp(prop);
        rotate.Enter();
        EXPECT_TRUE(coGetPlacementGrid().IsBoxFree(startBox)); // its own cells are lifted
        input.motionX = 60;
        Frame(rotate);
        input.motionX = 40;
        Frame(rotate);
        EXPECT_FLOAT_EQ(prop->GetAngle(), start + 1.5f);
        Click(rotate); // the release of the palette press
        EXPECT_EQ(rotate.GetResult(), drag ? coMode::Leave : coMode::Stay) << drag;
        input.released.insert(coActionEscape);
        Frame(rotate);
        rotate.Exit();
        EXPECT_EQ(prop->GetAngle(), start);
        EXPECT_FALSE(coGetPlacementGrid().IsBoxFree(startBox));
    }
    // Over occupied cells a release does not count; a huge turn is not wrapped.
    coPrefs::SetBool(coPrefDragOrClick, true);
    coModeRotateProp rotate;
    rotate.SetCamera(&camera);
    rotate.SetProp(prop);
    rotate.Enter();
    coGetPlacementGrid().MarkBox(startBox, coPlacementGrid::kOccupied);
    host.messages.clear();
    input.motionX = 100000;
    Click(rotate);
    EXPECT_EQ(rotate.GetResult(), coMode::Stay);
    EXPECT_EQ(host.messages, std::vector<u32>{8});
    EXPECT_FLOAT_EQ(prop->GetAngle(), start + 1500.0f);
    rotate.Exit(); // not free: undone
    EXPECT_EQ(prop->GetAngle(), start);
}

TEST_F(coPropToolTest, MovingKeepsTheGrabAndUndoesWhatMayNotStand) {
    coPrefs::SetBool(coPrefDragOrClick, true);
    coProp* prop = Place();
    ASSERT_NE(prop, nullptr);
    const maVector3d start = prop->GetPosition();
    const maBoundingBox startBox = prop->GetBounds();

    // Grabbed 30 pixels off the prop: the prop does not jump when the tool starts.
    input.pointerX = 430;
    coModeTranslateProp move;
    move.SetCamera(&camera);
    move.SetProp(prop);
    move.Enter();
    Frame(move);
    EXPECT_NEAR(prop->GetPosition().x, start.x, 0.01f);
    EXPECT_NEAR(prop->GetPosition().z, start.z, 0.01f);
    input.pointerX = 330;
    Frame(move);
    const maVector3d moved = prop->GetPosition();
    EXPECT_GT(std::abs(moved.x - start.x), 4.0f);
    // Over the sky it hides and keeps its last place.
    park.hasTerrain = false;
    input.pointerX = 300;
    Frame(move);
    EXPECT_FALSE(prop->IsVisible());
    EXPECT_EQ(prop->GetPosition(), moved);
    Click(move);
    EXPECT_EQ(move.GetResult(), coMode::Leave);
    move.Exit();
    EXPECT_TRUE(prop->IsVisible());
    EXPECT_EQ(prop->GetPosition(), moved);
    EXPECT_TRUE(coGetPlacementGrid().IsBoxFree(startBox));
    EXPECT_FALSE(coGetPlacementGrid().IsBoxFree(prop->GetBounds()));
    EXPECT_EQ(builder.nearBoxes.size(), 3u); // the placement, then the old and the new place

    // A cancel puts it back exactly, its cells marked there again.
    park.hasTerrain = true;
    move.SetCamera(&camera);
    move.SetProp(prop);
    move.Enter();
    input.pointerX = 600;
    Frame(move);
    input.released.insert(coActionEscape);
    Frame(move);
    move.Exit();
    EXPECT_EQ(prop->GetPosition(), moved);
    EXPECT_FALSE(coGetPlacementGrid().IsBoxFree(prop->GetBounds()));
}

// A ride hides the props far from its camera; back in the builder every prop shows again.
TEST_F(coPropToolTest, TheBuilderShowsThePropsTheRideCulled) {
    coProp* prop = Place();
    ASSERT_NE(prop, nullptr);
    coPropList::CullByDistance(maVector3d(0.0f, 0.0f, 100000.0f));
    ASSERT_FALSE(prop->IsVisible());
    coModeEditor editor;
    editor.Enter();
    EXPECT_TRUE(prop->IsVisible());
    editor.Exit();
}

} // namespace
