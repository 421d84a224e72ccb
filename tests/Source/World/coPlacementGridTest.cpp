// The placement grid on the default extent over a height function.
#include "Source/World/coPlacementGrid.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Source/Collision/coCollisionPark.h"
#include "Source/World/coEnvironment.h"
#include "coWorldTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace {

constexpr f32 kNaN = std::numeric_limits<f32>::quiet_NaN();

// A box over x from x0 to x1 in the middle rows of z.
maBoundingBox BoxX(f32 x0, f32 x1) {
    return maBoundingBox(maVector3d(x0, 0, 1), maVector3d(x1, 5, 9));
}

struct DefaultGrid : ::testing::Test {
    coHeightWorld world{[](float, float) { return 0.0f; }};
    coPlacementGrid grid;
    void SetUp() override { grid.Build(-200, 200, -200, 200, 80, 80); }
};

TEST_F(DefaultGrid, BoxesAtTheEdgesAreFreeOrPlaceableAsTheirCellsSay) {
    EXPECT_EQ(world.probes, 81 * 81);
    // 78.0 to 80.2: past the high edge, so not free; marking stops at the last cell.
    EXPECT_FALSE(grid.IsBoxFree(BoxX(190, 201)));
    grid.MarkBox(BoxX(190, 201), coPlacementGrid::kOccupied);
    for (i32 cx = 76; cx < 80; ++cx)
        EXPECT_EQ(grid.GetCell(cx, 40), cx >= 78 ? 1 : 0) << cx;
    // 1.2 to 2.8: inside, but in the margin of 2.
    EXPECT_EQ(std::tuple(grid.IsBoxFree(BoxX(-194, -186)), grid.CanPlaceBox(BoxX(-194, -186)),
                         grid.CanPlaceBox(BoxX(-189, -186))),
              std::tuple(true, false, true));
    // Just below the low edge truncates to cell 0; a whole cell below is outside.
    EXPECT_EQ(std::tuple(grid.IsBoxFree(BoxX(-202, -196)), grid.IsBoxFree(BoxX(-206, -196))),
              std::tuple(true, false));
    // At the high edge the last cell an object may cover is n - 3.
    EXPECT_EQ(std::tuple(grid.CanPlaceBox(BoxX(180, 189)), grid.CanPlaceBox(BoxX(180, 191))),
              std::tuple(true, false));
    EXPECT_EQ(std::tuple(grid.GetCell(-1, 0), grid.GetCell(0, 80)),
              std::tuple(coPlacementGrid::kBlocked, coPlacementGrid::kBlocked));
    i32 cx = -1, cz = -1;
    grid.WorldToCell(1e30f, kNaN, cx, cz);
    EXPECT_EQ(std::tuple(cx, cz), std::tuple(79, 0));
}

TEST_F(DefaultGrid, BoxesThatAreNotBoxesAreNeverFreeAndMarkNothing) {
    const maBoundingBox huge(maVector3d(-1e30f, 0, -1e30f), maVector3d(1e30f, 1, 1e30f));
    const maBoundingBox nan(maVector3d(kNaN, 0, 0), maVector3d(1, 1, 1));
    const maBoundingBox inverted = [] {
        maBoundingBox box = BoxX(0, 10);
        std::swap(box.minX, box.maxX);
        return box;
    }();
    for (const maBoundingBox& box : {maBoundingBox(), nan, inverted}) {
        EXPECT_FALSE(grid.IsBoxFree(box));
        EXPECT_FALSE(grid.CanPlaceBox(box));
        grid.MarkBox(box, coPlacementGrid::kOccupied);
    }
    EXPECT_EQ(std::tuple(grid.IsBoxFree(BoxX(-199, 199)), grid.IsBoxFree(huge)), std::tuple(true, false));
    grid.MarkBox(huge, coPlacementGrid::kOccupied);
    EXPECT_EQ(std::tuple(grid.GetCell(0, 0), grid.GetCell(79, 79)), std::tuple(1, 1));
}

TEST(coPlacementGridTest, SteepCellsBlockAndStayBlockedWhenObjectsLeave) {
    for (const f32 step : {20.0f, 20.5f}) {
        // Corners from x = 5 on stand `step` higher: the cells of column 40 have one step in them.
        coHeightWorld world([step](float x, float) { return x > 2.0f ? step : 0.0f; });
        coPlacementGrid grid;
        grid.Build(-200, 200, -200, 200, 80, 80);
        grid.MarkSteepCells(20.0f);
        EXPECT_EQ(grid.GetCell(40, 10), step > 20.0f ? coPlacementGrid::kBlocked : coPlacementGrid::kFree);
        EXPECT_EQ(std::tuple(grid.GetCell(39, 10), grid.GetCornerHeight(41, 3)),
                  std::tuple(coPlacementGrid::kFree, step));
        grid.MarkBox(BoxX(-5, 6), coPlacementGrid::kOccupied);
        grid.MarkBox(BoxX(-5, 6), coPlacementGrid::kFree);
        EXPECT_EQ(grid.GetCell(40, 0), grid.GetCell(40, 10));
        EXPECT_EQ(grid.GetCell(39, 0), coPlacementGrid::kFree);
    }
}

TEST(coPlacementGridTest, UnusableExtentsGiveTheDefaultGridAndAWarning) {
    coHeightWorld world([](float, float) { return 0.0f; });
    const struct {
        f32 minX, maxX;
        i32 nx, nz;
    } cases[] = {{-50, 50, 0, 10},       {-50, 50, -32768, 10},
                 {-50, 50, 2000, 10},    {kNaN, 50, 10, 10},
                 {50, 50, 10, 10},       {-50, std::numeric_limits<f32>::infinity(), 10, 10},
                 {-3e38f, 3e38f, 10, 10}};
    for (const auto& c : cases) {
        dbgLogCapture log;
        coPlacementGrid grid;
        grid.Build(c.minX, c.maxX, -50, 50, c.nx, c.nz);
        EXPECT_EQ(std::tuple(grid.GetMinX(), grid.GetMaxZ(), grid.GetCellCountX(), grid.GetCellCountZ(),
                             log.Count("**Warning**")),
                  std::tuple(-200.0f, 200.0f, 80, 80, 1u))
            << c.nx;
    }
}

TEST(coPlacementGridTest, TheTerrainAnswersTheSeamsFromTheGridAndTheEmptyParkIsUnbounded) {
    EXPECT_EQ(std::tuple(coGetCollisionPark().GetGridMaxX(),
                         coGetCollisionPark().IsBoxFree(BoxX(-1e30f, 1e30f)), coGetParkWorld().GetGridMinZ()),
              std::tuple(maMaxFloat, true, -maMaxFloat));
    coTerrain terrain;
    coSetParkWorld(&terrain);
    coSetCollisionPark(&terrain);
    coGetPlacementGrid().Build(-100, 100, -50, 50, 40, 20);
    EXPECT_EQ(std::tuple(coGetCollisionPark().GetGridMaxX(), coGetParkWorld().GetGridMinZ(),
                         coGetCollisionPark().IsBoxFree(BoxX(-1e30f, 1e30f))),
              std::tuple(100.0f, -50.0f, false));
    coSetParkWorld(nullptr);
    coSetCollisionPark(nullptr);
}

// The outline and the footprint are drawn with the world, so the renderer's lists are up.
class coPlacementOverlayTest : public coWorldRendererTest {};

TEST_F(coPlacementOverlayTest, TheOutlineCoversEveryCellAndTheColoursPulse) {
    coHeightWorld world([](float, float) { return 1.0f; });
    coPlacementGrid grid;
    // 82 cells: the last two columns get a block of their own.
    grid.Build(-205, 205, -20, 20, 82, 4);
    grid.ShowOverlay();
    EXPECT_EQ(grid.GetOverlayFragments().size(), 21u);
    // The update list drives the pulse while the outline shows, and culls the blocks out of view.
    EXPECT_EQ(scGetUpdateListCount(), 22u);
    scUpdateAll(1.25f);
    const g3dARGBColor pulse = grid.GetGridMaterial().GetDiffuse();
    EXPECT_NEAR(pulse.r, 0.45f, 1e-6f);
    EXPECT_NEAR(pulse.g, 0.45f, 1e-6f);
    EXPECT_NEAR(pulse.b, 0.9f, 1e-6f);
    EXPECT_EQ(std::tuple(pulse.a, grid.GetFootprintFragment()), std::tuple(1.0f, nullptr));

    const g3dFragment* first = nullptr;
    for (const bool placeable : {true, false}) {
        grid.SetCursorBox(BoxX(-4, 4), placeable);
        grid.SetCursorVisible(true);
        grid.UpdateOverlay(2.0f);
        ASSERT_NE(grid.GetFootprintFragment(), nullptr);
        // Cells 40 and 41 in x, row 2 in z: 3 x 2 corners, 2.2 above the terrain.
        EXPECT_EQ(std::tuple(grid.GetFootprintFragment()->GetVertexCount(),
                             grid.GetFootprintFragment()->GetBoundingBox().maxY,
                             grid.GetFootprintMaterial().GetDiffuse().g),
                  std::tuple(6u, 3.2f, placeable ? 0.9f : 0.2f));
        // The same cells keep their sheet; only its colour follows the answer.
        first = first ? first : grid.GetFootprintFragment();
        EXPECT_EQ(grid.GetFootprintFragment(), first);
    }
    grid.SetCursorBox(BoxX(-4, 12), true);
    grid.UpdateOverlay(2.5f);
    EXPECT_GT(grid.GetFootprintFragment()->GetVertexCount(), 6u);
    grid.SetCursorVisible(false);
    grid.UpdateOverlay(3.0f);
    EXPECT_EQ(grid.GetFootprintFragment(), nullptr);
    grid.HideOverlay();
    EXPECT_EQ(std::tuple(grid.GetOverlayFragments().empty(), scGetUpdateListCount()), std::tuple(true, 0u));
}

} // namespace
