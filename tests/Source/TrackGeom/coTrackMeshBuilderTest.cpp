#include "Source/TrackGeom/coTrackMeshBuilder.h"

#include "Source/Collision/coTrackCollision.h"
#include "Source/Park/coWorldSwitches.h"
#include "Source/Scene/coDetailSets.h"
#include "Source/Settings/coPrefs.h"
#include "Source/TrackGeom/coSupportMakerPole.h"
#include "Source/TrackGeom/coSupportMakerWood.h"
#include "Source/TrackGeom/coTrackShadows.h"

#include "Source/Track/coCircuitTestSupport.h"
#include "coTrackGeomTestSupport.h"
#include "coTrackSceneTestSupport.h"

#include <tuple>

namespace {

// Records the pieces it is asked for, in order; builds one object when `builds` is set.
class RecordingMaker : public coSupportMaker {
  public:
    RecordingMaker() : coSupportMaker(0.0f, 0.0f, 0.0f) {}
    bool MakeSupports(const coCoasterPiece& piece, coSceneObjectSet& set) override {
        made.push_back(&piece);
        if (builds)
            coAddTrackObject(set, 0, coTrackObjectKind::Static, nullptr);
        return builds;
    }
    std::vector<const coCoasterPiece*> made;
    bool builds = true;
};

constexpr const char* kTrack = "Track\n{\nRail\n{\nCrossSection\n{\nVertices 3 -0.5 0 0 0.3 0.5 0\n}\n}\n}\n";

class coTrackMeshBuilderTest : public coTrackSceneTest {
  protected:
    void SetUp() override {
        coTrackSceneTest::SetUp();
        fsResetRootTable();
        fsAddRootDirectory(coRootTracks, folder.Locator("Tracks"));
        fsAddRootDirectory(coRootEnvironments, folder.Locator("Environments"));
        coCoasterDefinitionStore().SetCoasterTypeName("Steel");
        folder.Write("Tracks/Steel/Track.def", kTrack);
        coSetTrackBuilder(&builder);
        auto recording = std::make_unique<RecordingMaker>();
        maker = recording.get();
        builder.SetSupportMaker(std::move(recording));
        coSetShadowsEnabled(coShadowsDown);
        coCircuitClear();
    }
    void TearDown() override {
        coCircuitClear();
        builder.FreeDefinitions();
        builder.DestroyShadowMaterial();
        coSetTrackBuilder(nullptr);
        coSetShadowsEnabled(coShadowsOff);
        coPrefs::SetBool(coPrefTrackShadows, m_shadowsPref);
        coCoasterDefinitionStore() = m_saved;
        coCollisionClearMarkers();
        fsResetRootTable();
        coTrackSceneTest::TearDown();
    }
    // An open track of n straights.
    std::vector<coCoasterPiece*> OpenTrack(int n) {
        std::vector<coCoasterPiece*> pieces;
        for (int i = 0; i < n; ++i)
            pieces.push_back(coAppendStraight(10.0f));
        maker->made.clear();
        return pieces;
    }

    fsTestFolder folder;
    coFakeTextureCache textures;
    coFakeModelLoader models;
    coFakePark park;
    coTrackMeshBuilder builder;
    RecordingMaker* maker = nullptr;

  private:
    const coCoasterDefinition m_saved = coCoasterDefinitionStore();
    bool m_shadowsPref = coPrefs::GetBool(coPrefTrackShadows);
};

} // namespace

// What each mode rebuilds, in order; an append rebuilds the piece before it, whose end now blends.
TEST_F(coTrackMeshBuilderTest, ModesRebuildTheirPieces) {
    const auto p = OpenTrack(4);
    coAppendStraight(10.0f);
    EXPECT_EQ(std::tuple(maker->made.size(), maker->made[1]), std::tuple(2u, p[3]));

    const struct {
        int piece, mode;
        std::vector<int> built;
    } cases[] = {
        {0, 1, {0, 1}}, {0, 2, {0, 1, 2, 3, 4}}, {2, 0, {2}}, {2, 1, {2, 1, 3}}, {2, 2, {2, 1, 3, 4}}};
    const auto& all = coCircuitPieces();
    for (const auto& c : cases) {
        maker->made.clear();
        builder.RebuildPieceObjects(all[size_t(c.piece)].get(), c.mode);
        std::vector<const coCoasterPiece*> expected;
        for (int i : c.built)
            expected.push_back(all[size_t(i)].get());
        EXPECT_EQ(maker->made, expected) << c.piece << " " << c.mode;
    }
    EXPECT_EQ(builder.GetEntryCount(), 5);
    EXPECT_GE(park.trackPropPlacements, 5);
}

// Removing the last piece or opening the circuit reshapes the pieces at the cut: their meshes follow.
TEST_F(coTrackMeshBuilderTest, CutPiecesAreRebuilt) {
    coBuildR1();
    coCircuitClose();
    ASSERT_TRUE(coCircuitIsClosed());
    coCoasterPiece* first = coCircuitFirstPiece();
    coCoasterPiece* last = coCircuitLastPiece();
    maker->made.clear();
    coCircuitOpen();
    EXPECT_EQ(maker->made, (std::vector<const coCoasterPiece*>{first, last}));
    coCircuitClose();
    coCoasterPiece* beforeLast = last->GetPrevious();
    maker->made.clear();
    coCircuitRemoveLast();
    EXPECT_EQ(maker->made, (std::vector<const coCoasterPiece*>{beforeLast, first}));
}

// On a closed circuit mode 2 builds the piece first and again last, alike; the support walk redoes every
// piece, the given one last, and on an open track leaves the given one alone.
TEST_F(coTrackMeshBuilderTest, ClosedCircuitWalks) {
    coBuildR1();
    coCircuitClose();
    ASSERT_TRUE(coCircuitIsClosed());
    coCoasterPiece* piece = coCircuitPieces()[3].get();
    coWorldBox alone{};
    builder.RebuildPieceObjects(piece, 0);
    builder.GetPieceBounds(piece, alone);
    EXPECT_LT(alone[0], alone[1]); // the rail was swept
    maker->made.clear();
    builder.RebuildPieceObjects(piece, 2);
    ASSERT_EQ(maker->made.size(), 10u);
    EXPECT_EQ(std::tuple(maker->made.front(), maker->made.back()), std::tuple(piece, piece));
    coWorldBox again{};
    builder.GetPieceBounds(piece, again);
    EXPECT_EQ(again, alone);

    maker->made.clear();
    builder.RebuildSupports(piece);
    ASSERT_EQ(maker->made.size(), 8u);
    EXPECT_EQ(maker->made.back(), piece);

    coCircuitClear();
    const auto open = OpenTrack(3);
    builder.RebuildSupports(open[0]);
    EXPECT_EQ(maker->made, (std::vector<const coCoasterPiece*>{open[1], open[2]}));
}

// A broken chain that never comes back cannot hold a walk: it is bounded by the piece count.
TEST_F(coTrackMeshBuilderTest, BrokenChainWalksEnd) {
    const auto p = OpenTrack(3);
    p[2]->SetNext(p[1]);
    builder.RebuildPieceObjects(p[0], 2);
    EXPECT_EQ(maker->made.size(), 5u); // the piece, then 4 steps
    maker->made.clear();
    builder.RebuildSupports(p[0]);
    EXPECT_EQ(maker->made.size(), 4u);
    p[2]->SetNext(nullptr);
}

// The near-box rebuild compares x and z only, and keeps an empty support set.
TEST_F(coTrackMeshBuilderTest, NearBoxRebuildsByXAndZ) {
    const auto p = OpenTrack(2);
    maker->builds = false;
    builder.RebuildPieceObjects(p[0], 0);
    EXPECT_EQ(builder.GetPieceObjects(p[0])->supports, nullptr);
    maker->made.clear();
    const maBoundingBox path = builder.GetPieceObjects(p[0])->path->GetBounds();
    builder.RebuildNearBox({path.minX, path.minX, 500.0f, 600.0f, path.minZ, path.minZ});
    EXPECT_EQ(maker->made, (std::vector<const coCoasterPiece*>{p[0]}));
    EXPECT_NE(builder.GetPieceObjects(p[0])->supports, nullptr);
    maker->made.clear();
    builder.RebuildNearBox({500.0f, 600.0f, path.minY, path.maxY, path.minZ, path.maxZ});
    EXPECT_TRUE(maker->made.empty());
}

// Removing every piece unregisters everything built; with no entry the bounds are the empty box.
TEST_F(coTrackMeshBuilderTest, RegistrationsBalanceAndEmptyBounds) {
    const size_t before = coGetObjectSets().size();
    OpenTrack(3);
    EXPECT_EQ(coGetObjectSets().size(), before + 9); // mesh, supports, shadow
    EXPECT_EQ(coCollisionGetRegistered().size(), 3u);
    EXPECT_NE(builder.FindPieceByCollisionPath(coCollisionGetRegistered()[1]), nullptr);
    coCircuitClear();
    EXPECT_EQ(
        std::tuple(coGetObjectSets().size(), coCollisionGetRegistered().empty(), builder.GetEntryCount()),
        std::tuple(before, true, 0));
    coWorldBox bounds{};
    builder.GetTrackBounds(bounds);
    EXPECT_EQ(bounds,
              (coWorldBox{maMaxFloat, -maMaxFloat, maMaxFloat, -maMaxFloat, maMaxFloat, -maMaxFloat}));
}

// The world's clear takes a live track, its objects before the definitions they were made from.
TEST_F(coTrackMeshBuilderTest, TheWorldsClearTakesALiveTrackAndItsDefinitions) {
    const size_t before = coGetObjectSets().size();
    textures.known = {"shadow.png"};
    builder.CreateShadowMaterial();
    OpenTrack(3);
    coClearScene();
    EXPECT_EQ(std::tuple(coCircuitPieceCount(), builder.GetEntryCount(), coGetObjectSets().size(),
                         coCollisionGetRegistered().empty()),
              std::tuple(0, 0, before, true));
    const coTrackDefinitions held = builder.ResetDefinitionPointers();
    EXPECT_EQ(std::tuple(held.track.get(), held.supports.get()), std::tuple(nullptr, nullptr));
}

TEST_F(coTrackMeshBuilderTest, ShadowsByEnvironmentAndPreference) {
    for (const char* name : {"Cavern", "cavern"}) {
        park.environmentName = name;
        const auto p = OpenTrack(1);
        EXPECT_EQ(builder.GetPieceObjects(p[0])->shadow, nullptr) << name;
        coCircuitClear();
    }
    park.environmentName = "Caverns";
    coPrefs::SetBool(coPrefTrackShadows, false);
    const auto p = OpenTrack(2);
    const coTrackPieceObjects& entry = *builder.GetPieceObjects(p[0]);
    ASSERT_NE(entry.shadow, nullptr);
    EXPECT_FALSE(entry.shadow->IsVisible());
    coPrefs::SetBool(coPrefTrackShadows, true);
    builder.RefreshShadows();
    EXPECT_TRUE(entry.shadow->IsVisible());
    builder.ShowTrackObjects(false);
    EXPECT_FALSE(entry.mesh->IsVisible() || entry.supports->IsVisible() || entry.shadow->IsVisible());
    builder.RefreshShadows();
    EXPECT_FALSE(entry.shadow->IsVisible());
    builder.ShowTrackObjects(true);
    EXPECT_TRUE(entry.shadow->IsVisible());
    coPrefs::SetBool(coPrefTrackShadows, false);
    builder.ShowTrackObjects(true);
    EXPECT_FALSE(entry.shadow->IsVisible());
}

// Reloading the definition or destroying the shadow material drops what pointed at them.
TEST_F(coTrackMeshBuilderTest, ReloadAndMaterialLossDropObjects) {
    textures.known = {"shadow.png"};
    builder.CreateShadowMaterial();
    const auto p = OpenTrack(2);
    builder.DestroyShadowMaterial();
    EXPECT_EQ(builder.GetPieceObjects(p[0])->shadow, nullptr);
    EXPECT_NE(builder.GetPieceObjects(p[0])->mesh, nullptr);
    builder.LoadTrackDefinition("Track.def");
    EXPECT_EQ(builder.GetEntryCount(), 0);
    builder.RebuildPieceObjects(p[0], 2);
    EXPECT_EQ(builder.GetEntryCount(), 2);
    const size_t sets = coGetObjectSets().size();
    coTrackDefinitions held = builder.ResetDefinitionPointers();
    EXPECT_NE(held.track, nullptr);
    EXPECT_NE(held.supports, nullptr);
    EXPECT_EQ(coGetObjectSets().size(), sets);
    builder.FreeDefinitions();
}

// "Wooden" exactly, or WoodSupports, gives walls; any other spelling poles.
TEST_F(coTrackMeshBuilderTest, WoodenTypesGetWalls) {
    const struct {
        const char* type;
        bool woodSupports, wood;
    } cases[] = {
        {"Wooden", false, true}, {"wooden", false, false}, {"Steel", true, true}, {"Steel", false, false}};
    for (const auto& c : cases) {
        folder.Write(std::string("Tracks/") + c.type + "/Support.def",
                     "Support\n{\nPlane\n{\nTextureSpacing 4\n}\n}\n");
        coCoasterDefinitionStore().SetCoasterTypeName(c.type);
        coCoasterDefinitionStore().SetWoodSupports(c.woodSupports);
        builder.FreeDefinitions();
        coSupportMaker& made = builder.GetSupportMaker();
        EXPECT_EQ(dynamic_cast<coSupportMakerWood*>(&made) != nullptr, c.wood) << c.type;
        EXPECT_EQ(made.GetPlanes().size(), 1u);
    }
}
