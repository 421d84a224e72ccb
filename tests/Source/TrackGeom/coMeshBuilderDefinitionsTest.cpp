#include "Source/Collision/coTrackCollision.h"
#include "Source/Park/coCoasterPackage.h"
#include "Source/TrackGeom/coTrackColorizer.h"
#include "Source/TrackGeom/coTrackDefinitionSource.h"
#include "Source/TrackGeom/coTrackMeshBuilder.h"
#include "Source/TrackGeom/coTrackShadows.h"

#include "Source/Track/coCircuitTestSupport.h"
#include "coTrackGeomTestSupport.h"
#include "coTrackSceneTestSupport.h"

// A coaster type loaded again under a live circuit: the builder drops every piece's objects before it
// deletes the definitions they point at, the loader rebuilds them all, and the colours reach the new
// materials.
TEST_F(coTrackSceneTest, AReloadUnderALiveCircuitRebuildsEveryPieceWithTheNewColours) {
    fsTestFolder folder;
    coFakeTextureCache textures;
    coFakeModelLoader models;
    coFakePark park;
    const coCoasterDefinition saved = coCoasterDefinitionStore();
    textures.known = {"shadow.png"};
    fsResetRootTable();
    fsAddRootDirectory(coRootTracks, folder.Locator("Tracks"));
    fsAddRootDirectory(coRootEnvironments, folder.Locator("Environments"));
    folder.Write("Tracks/Steel/Coaster.def", "CoasterDefinition { }");
    folder.Write("Tracks/Steel/Support.def", "Support { }");
    auto writeTrack = [&](const std::string& power) {
        folder.Write("Tracks/Steel/Track.def", "Track { Rail { Name Rail\nMaterial { Power " + power +
                                                   " }\nCrossSection { Vertices 2 -1 0 1 0 } } }");
    };
    writeTrack("2");
    coCoasterDefinitionStore().SetCoasterTypeName("Steel");
    {
        coTrackMeshBuilder builder;
        coSetTrackBuilder(&builder);
        coMeshBuilderDefinitions definitions(builder);
        coCircuitClear();
        for (int i = 0; i < 3; ++i)
            coAppendStraight(10.0f);
        for (const char* power : {"2", "3"}) {
            writeTrack(power);
            coLoadCoasterDefinitions("Mountain", "Steel", 0);
            EXPECT_EQ(builder.GetEntryCount(), 3);
            const g3dMaterial& rail = *builder.GetTrackDefinition().GetCrossSections()[0]->GetMaterial();
            EXPECT_EQ(rail.GetDiffuse().r, 0.8f); // the first built-in scheme
            EXPECT_EQ(rail.GetSpecularPower(), 1.0f);
        }
        coCircuitClear();
        builder.FreeDefinitions();
        builder.DestroyShadowMaterial();
        coSetTrackBuilder(nullptr);
    }
    coTrackColorizer::ClearCurrent();
    coTrackColorizer::ClearSchemes();
    coFreeTrackDefinition();
    coReleaseTrackTextures();
    coCollisionClearMarkers();
    coCoasterDefinitionStore() = saved;
    fsResetRootTable();
}
