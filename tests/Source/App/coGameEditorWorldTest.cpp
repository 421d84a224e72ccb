// The editor's view of the park in the running game: what a picked object is, and the boxes that frame
// the selection.
#include "Source/App/coGameEditorWorld.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Source/Modes/coEditorSelection.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coTrackBuilder.h"
#include "Source/World/coSpotObject.h"
#include "Source/World/coWorldTestSupport.h"

#include <tuple>

namespace {

// A park object of no kind the editor selects.
struct coStone : coObject {
    bool RayTest(const maVector3d&, const maVector3d&, f32&) const override { return false; }
    maBoundingBox GetBoundingBox() const override { return {}; }
};

// Meshes for one piece only.
struct coOneMeshBuilder : coTrackBuilder {
    void GetPieceBounds(const coCoasterPiece* piece, coWorldBox& out) const override {
        if (piece == meshed)
            out = {-1, 1, 0, 4, -2, 2};
    }
    const coCoasterPiece* meshed = nullptr;
};

class coGameEditorWorldTest : public coWorldDeviceTest {
  protected:
    void SetUp() override {
        coWorldDeviceTest::SetUp();
        g3dRenderer::Initialize();
        coSetTrackBuilder(&m_builder);
    }
    void TearDown() override {
        coSetTrackBuilder(nullptr);
        g3dRenderer::Shutdown();
        coWorldDeviceTest::TearDown();
    }
    coOneMeshBuilder m_builder;
    coGameEditorWorld m_world;
};

auto Corners(const maBoundingBox& box) {
    return std::tuple(box.minX, box.maxX, box.minY, box.maxY, box.minZ, box.maxZ);
}

} // namespace

TEST_F(coGameEditorWorldTest, SpotsAreSelectableInTheirReachAndOtherObjectsAreNot) {
    coSpotObject spot;
    spot.SetPosition({10, 20, 30});
    const coEditorWorld::Target target = m_world.Classify(&spot);
    EXPECT_EQ(std::tuple(target.kind, target.spot, target.prop, target.dock, target.ring),
              std::tuple(static_cast<i32>(coSelectionSpot), &spot, nullptr, nullptr, nullptr));
    maBoundingBox box;
    ASSERT_TRUE(m_world.GetObjectBox(&spot, box));
    EXPECT_EQ(Corners(box), std::tuple(8.0f, 12.0f, 18.0f, 22.0f, 28.0f, 32.0f));

    coStone stone;
    EXPECT_EQ(m_world.Classify(&stone).kind, 0);
    EXPECT_FALSE(m_world.GetObjectBox(&stone, box));
    EXPECT_EQ(m_world.Classify(nullptr).kind, 0);
}

TEST_F(coGameEditorWorldTest, APieceIsFramedByItsMeshElseByItsCentreLine) {
    coCoasterPieceStraight meshed, bare;
    for (coCoasterPieceStraight* piece : {&meshed, &bare}) {
        piece->SetRunLength(40.0f);
        piece->Place({0, 2, 0}, 0.0f);
    }
    m_builder.meshed = &meshed;
    EXPECT_EQ(Corners(m_world.GetPieceBox(meshed)), std::tuple(-1.0f, 1.0f, 0.0f, 4.0f, -2.0f, 2.0f));
    EXPECT_EQ(Corners(m_world.GetPieceBox(bare)), Corners(coEditorWorld().GetPieceBox(bare)));
}
