// The dock tool: a new dock under the pointer, moving and turning the dock, and the track joined to it
// on every way out.
#include "Source/Modes/coModeManipulateDock.h"

#include "Source/Modes/coEditorSelection.h"
#include "Source/Modes/coModeManipulateProp.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/World/coLoadingDock.h"
#include "Source/World/coProp.h"
#include "Source/World/coPropList.h"

#include "Source/Modes/coToolTestSupport.h"

#include <algorithm>

namespace {

class coDockToolTest : public coToolTest {
  protected:
    void SetUp() override {
        coToolTest::SetUp();
        fsAddRootDirectory(coRootThemes, folder.Locator("Themes"));
        folder.Write("Themes/Ironvale/Texture/a.png",
                     g2dImageBuilder::Png(2, 8, 6, {std::string(8, '\x40'), std::string(8, '\x40')}));
        folder.Write("Themes/Ironvale/Tracks/Steel/Model/loaddock.mx",
                     mayModelBytes::File(mayModelBytes::Fragment(3, 1, {"a.png"})));
        m_typeName = coCoasterDefinitionStore().GetCoasterTypeName();
        coCoasterDefinitionStore().SetCoasterTypeName("Steel");
        tool.SetCamera(&camera);
    }
    void TearDown() override {
        coCircuitClear();
        coFreeDock();
        coCoasterDefinitionStore().SetCoasterTypeName(m_typeName);
        coToolTest::TearDown();
    }
    // The camera straight above the point, so that the pointer in the middle points at it.
    void LookDownAt(const maVector3d& point) {
        camera.LookAt(point + maVector3d(0.0f, 80.0f, 0.0f), point, maVector3d(0.0f, 0.0f, 1.0f));
    }
    bool FirstPieceRebuilt() const {
        return std::count(builder.rebuilt.begin(), builder.rebuilt.end(),
                          std::pair<coCoasterPiece*, int>(coCircuitFirstPiece(), 1)) > 0;
    }
    // A loaded dock over (x, z) with the circuit's one piece joined to it and its cells marked.
    coLoadingDock* StandingDock(float x, float z) {
        coLoadDock(envString("Ironvale"));
        coLoadingDock* dock = coGetDock();
        dock->SetPosition(maVector3d(x, 15.0f, z));
        coAppendStraight(40.0f);
        dock->ConnectTrack();
        coGetPlacementGrid().MarkBox(coDockBounds(*dock), coPlacementGrid::kOccupied);
        return dock;
    }

    coModeManipulateDock tool;

  private:
    std::string m_typeName;
};

TEST_F(coDockToolTest, ANewDockStandsAboveTheHitAndStartsTheTrack) {
    tool.SetKind(coModeManipulateDock::PlaceNew);
    tool.SetDock(nullptr);
    tool.SetDockType("Ironvale");
    coSetThemeName("");
    tool.Enter();
    ASSERT_NE(coGetDock(), nullptr);
    EXPECT_EQ(host.messages, std::vector<u32>{2});
    EXPECT_EQ(coGetThemeName(), "Ironvale"); // the cars' theme of a coaster not yet ridden
    Frame(tool);
    const maVector3d ground = Ground();
    EXPECT_NEAR(coGetDock()->GetPosition().y, ground.y + 15.0f, 1e-4f);
    EXPECT_EQ(coGetDock()->GetPosition().x, ground.x);
    coPrefs::SetBool(coPrefDragOrClick,
                     false); // a new dock ends on its first valid release whatever the preference
    Click(tool);
    EXPECT_EQ(tool.GetResult(), coMode::Leave);
    EXPECT_EQ(host.sounds, std::vector<int>{6});
    tool.Exit();
    EXPECT_EQ(coCircuitPieceCount(), 1);
    EXPECT_EQ(coSelectionGetDock(), coGetDock());
    EXPECT_FALSE(coGetPlacementGrid().IsBoxFree(coDockBounds(*coGetDock())));
}

TEST_F(coDockToolTest, ANewDockThatIsNotPlacedLeavesTheFirstPieceDrawn) {
    coAppendStraight(40.0f);
    tool.SetKind(coModeManipulateDock::PlaceNew);
    tool.SetDockType("Nowhere");
    tool.Enter();
    EXPECT_EQ(host.errors, 1);
    EXPECT_EQ(tool.GetResult(), coMode::Leave);
    tool.Exit();
    EXPECT_TRUE(builder.removed.empty() || FirstPieceRebuilt());

    tool.SetDockType("Ironvale");
    tool.SetCamera(&camera);
    tool.Enter();
    EXPECT_EQ(builder.removed, std::vector<coCoasterPiece*>{coCircuitFirstPiece()});
    input.released.insert(coActionEscape);
    Frame(tool);
    EXPECT_EQ(tool.GetResult(), coMode::Leave);
    tool.Exit();
    EXPECT_EQ(coGetDock(), nullptr);
    EXPECT_TRUE(FirstPieceRebuilt());
    EXPECT_EQ(coSelectionGetObject(), coCircuitFirstPiece());
}

TEST_F(coDockToolTest, AMoveOutOfTheMarginsOrACancelledTurnPutsTheDockBack) {
    coPrefs::SetBool(coPrefDragOrClick, true);
    coLoadingDock* dock = StandingDock(0.0f, 0.0f);
    const maVector3d start = dock->GetPosition();
    const maVector3d firstStart = coCircuitFirstPiece()->GetStart();

    // Within 3 cells of the high x edge: refused with message 4, and put back on exit.
    LookDownAt(start);
    tool.SetKind(coModeManipulateDock::Move);
    tool.SetDock(dock);
    tool.Enter();
    EXPECT_EQ(host.messages, std::vector<u32>{9});
    LookDownAt(maVector3d(94.0f, 0.0f, 0.0f));
    Frame(tool);
    EXPECT_NEAR(dock->GetPosition().x, 94.0f, 0.01f);
    Click(tool);
    EXPECT_EQ(tool.GetResult(), coMode::Stay);
    EXPECT_EQ(host.messages, (std::vector<u32>{9, 4}));
    input.released.insert(coActionEscape);
    Frame(tool);
    tool.Exit();
    EXPECT_EQ(dock->GetPosition(), start);
    EXPECT_EQ(coCircuitFirstPiece()->GetStart(), firstStart);
    EXPECT_FALSE(coGetPlacementGrid().IsBoxFree(coDockBounds(*dock)));

    // A turn follows the motion and is undone by a cancel.
    host.messages.clear();
    tool.SetKind(coModeManipulateDock::Turn);
    tool.SetCamera(&camera);
    tool.SetDock(dock);
    tool.Enter();
    EXPECT_EQ(host.messages, std::vector<u32>{5});
    input.motionX = 100;
    Frame(tool);
    EXPECT_FLOAT_EQ(dock->GetAngle(), 1.5f);
    input.released.insert(coActionEscape);
    Frame(tool);
    tool.Exit();
    EXPECT_EQ(dock->GetAngle(), 0.0f);
    EXPECT_EQ(coCircuitFirstPiece()->GetStart(), firstStart);
    EXPECT_FALSE(coGetPlacementGrid().IsBoxFree(coDockBounds(*dock)));
}

// Cells are whole: whichever of a dock and a prop on a shared cell leaves, the other keeps its cells.
TEST_F(coDockToolTest, CellsStayTakenUnderWhatStillStandsWhenTheDockOrAPropLeaves) {
    coLoadingDock* dock = StandingDock(0.0f, 0.0f);
    auto rock = std::make_unique<coProp>(lamp);
    rock->SetPosition(dock->GetPosition());
    coProp* prop = rock.get();
    coPropList::Add(std::move(rock));
    const maBoundingBox propBox = prop->GetBounds(), dockBox = coDockBounds(*dock);
    coPlacementGrid& grid = coGetPlacementGrid();

    tool.SetKind(coModeManipulateDock::Move);
    tool.SetDock(dock);
    tool.Enter();
    EXPECT_FALSE(grid.IsBoxFree(propBox));
    input.released.insert(coActionEscape);
    Frame(tool);
    tool.Exit();

    coModeRotateProp rotate;
    rotate.SetCamera(&camera);
    rotate.SetProp(prop);
    rotate.Enter();
    EXPECT_FALSE(grid.IsBoxFree(dockBox));
    rotate.Exit();
    coPropList::Remove(prop);
    EXPECT_FALSE(grid.IsBoxFree(dockBox));
    coFreeDock();
    EXPECT_TRUE(grid.IsBoxFree(dockBox));
}

} // namespace
