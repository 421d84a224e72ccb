// The loading dock: loading, placing, the track's first piece, stripping and its segment test.
#include "Source/World/coLoadingDock.h"
#include "../Track/coTrackTestSupport.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Source/Park/coWorldSwitches.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "coWorldModelBytes.h"
#include "coWorldTestSupport.h"

#include <tuple>

namespace {

class coLoadingDockTest : public coWorldRendererTest {
  protected:
    void SetUp() override {
        coWorldRendererTest::SetUp();
        fsResetRootTable();
        fsAddRootDirectory(coRootThemes, m_folder.Locator("Themes"));
        const std::string png =
            g2dImageBuilder::Png(2, 8, 6, {std::string(8, '\x40'), std::string(8, '\x40')});
        m_folder.Write("Themes/Ironvale/Texture/a.png", png);
        m_folder.Write("Themes/Ironvale/Texture/b.png", png);
        m_folder.Write("Themes/Ironvale/Tracks/Steel/Model/loaddock.mx",
                       coTwoLevelGround({"a.png", "b.png"}));
        m_typeName = coCoasterDefinitionStore().GetCoasterTypeName();
        coCoasterDefinitionStore().SetCoasterTypeName("Steel");
    }
    void TearDown() override {
        coFreeDock();
        coCoasterDefinitionStore().SetCoasterTypeName(m_typeName);
        EXPECT_EQ(coGetTextureCache().GetEntryCount(), 0u);
        fsResetRootTable();
        coWorldRendererTest::TearDown();
    }
    fsTestFolder m_folder;
    std::string m_typeName;
};

} // namespace

TEST_F(coLoadingDockTest, TheFirstPieceSitsHalfItsSpanBehindTheDock) {
    coLoadDock("Ironvale");
    coLoadingDock* dock = coGetDock();
    ASSERT_NE(dock, nullptr);
    dock->SetPosition({100, 5, 50});
    dock->SetAngle(maPi / 2);
    coTestLinePiece piece(40.0f);
    dock->AttachFirstPiece(piece);
    EXPECT_NEAR(piece.GetStart().x, 80.0f, 1e-4f);
    EXPECT_NEAR(piece.GetStart().y + piece.GetStart().z, 55.0f, 1e-4f);
    dock->SetPosition({0, 0, 0});
    dock->PlaceAtPiece(piece);
    EXPECT_NEAR(dock->GetPosition().x, 100.0f, 1e-4f);
    EXPECT_NEAR(dock->GetPosition().z, 50.0f, 1e-4f);
    // Turned a quarter, the 200 x 200 model still spans 200 in x and z about the position.
    const maBoundingBox box = dock->GetBounds();
    EXPECT_NEAR(box.maxX - box.minX, 200.0f, 1e-3f);
    EXPECT_NEAR(box.minZ, -50.0f, 1e-3f);
}

TEST_F(coLoadingDockTest, AnEmptyCircuitStartsWithAChainLiftThroughTheDock) {
    coLoadDock("Ironvale");
    coLoadingDock& dock = *coGetDock();
    dock.SetPosition({100, 5, 50});
    dock.SetAngle(maPi / 2);
    dock.ConnectTrack();
    coCoasterPiece* first = coCircuitFirstPiece();
    ASSERT_NE(first, nullptr);
    EXPECT_NEAR(first->GetStart().x, 80.0f, 1e-4f);
    EXPECT_NEAR(first->GetSpan(), 40.0f, 1e-4f);
    EXPECT_EQ(first->GetElement(), coElementChainLift);
    // Moved away, the first piece is brought back behind the dock.
    first->Place({0, 5, 0}, 0.0f);
    dock.ConnectTrack();
    EXPECT_NEAR(coCircuitFirstPiece()->GetStart().x, 80.0f, 1e-4f);
    EXPECT_EQ(coCircuitFirstPiece(), first);
    coCircuitClear();
}

TEST_F(coLoadingDockTest, StrippingTakesEveryStageOffOnceAndRestoringGivesTheWholeListBack) {
    coLoadDock("Ironvale");
    coLoadingDock& dock = *coGetDock();
    g3dMaterial& material = *dock.GetObjects().front()->GetFragment()->GetMaterial(0);
    ASSERT_EQ(material.GetStageCount(), 2u);
    const g3dTexture* second = material.GetStage(1).texture;
    material.SetStageOffset({0.25f, 0.5f}, 1);
    dock.RestoreTextures(); // not stripped: nothing changes
    EXPECT_EQ(material.GetStageCount(), 2u);
    for (int twice = 0; twice < 2; ++twice) {
        dock.StripTextures();
        dock.StripTextures();
        EXPECT_EQ(material.GetStageCount(), 0u);
        dock.RestoreTextures();
        ASSERT_EQ(material.GetStageCount(), 2u);
        EXPECT_EQ(material.GetStage(1).texture, second);
        EXPECT_EQ(material.GetStage(1).offset.y, 0.0f); // recorded at load, before the offset was set
    }
    // A picture or a ride shows the dock textured, then gives it its building view back.
    dock.StripTextures();
    {
        const coTexturedWorld shown;
        EXPECT_EQ(material.GetStageCount(), 2u);
    }
    EXPECT_TRUE(dock.IsStripped());
    dock.RestoreTextures();
}

TEST_F(coLoadingDockTest, AFailedLoadLeavesNoDockAndNoTheme) {
    coLoadDock("Ironvale");
    EXPECT_ANY_THROW(coLoadDock("Nowhere"));
    EXPECT_EQ(std::tuple(coGetDock(), coGetDockTheme().GetLength()), std::tuple(nullptr, 0u));
    geoKDTreeHit hit;
    EXPECT_FALSE(coDockIntersectSegment({50, 100, 0}, {50, -100, 0}, hit));
}

TEST_F(coLoadingDockTest, TheSegmentTestAsksTheTreeInDockSpace) {
    coLoadDock("Ironvale");
    coGetDock()->SetPosition({1000, 0, 0});
    const struct {
        maVector3d p0, p1;
        bool hit;
    } cases[] = {{{1050, 100, 0}, {1050, -100, 0}, true},
                 {{50, 100, 0}, {50, -100, 0}, false},
                 {{1050, 100, 0}, {1050, 20, 0}, false}};
    for (const auto& c : cases) {
        geoKDTreeHit hit;
        EXPECT_EQ(coDockIntersectSegment(c.p0, c.p1, hit), c.hit) << c.p0.x << " " << c.p1.y;
        if (c.hit) {
            EXPECT_NEAR(hit.point.y, 10.0f, 1e-3f);
        }
    }
}
