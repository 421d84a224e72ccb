#include "Source/TrackGeom/coTrackDefinition.h"

#include "Engine/App/Ch/chExceptions.h"

#include "coTrackGeomTestSupport.h"

#include <tuple>
#include <typeinfo>

TEST_F(coTrackGeomTest, TrackDefinitionInFileOrderWithPartMaterials) {
    models.models = {{"crossbar.mx", 2}};
    LoadTrack("Track\n{\n"
              "Tube { Name Crossbar\nMaterial { Diffuse 1 0 0 } }\n"
              "Cross { Name Crossbar\nGeometry crossbar.mx\nSpacing 3 }\n"
              "Rail { Name Rail }\nChain { }\nBrakes { }\nBooster { }\nRetarder { }\nOther { }\n"
              "Cross { Name Bare }\n"
              "Rail { Name Crossbar\nMaterial { Power 2 } }\n"
              "Rail { Name crossbar\nMaterial { Power 3 } }\n}\n");
    const coTrackDefinition& definition = *coGetLoadedTrackDefinition();
    const std::vector<const std::type_info*> classes = {
        &typeid(coTrackTube),    &typeid(coTrackRail),     &typeid(coTrackChain), &typeid(coTrackBrakes),
        &typeid(coTrackBooster), &typeid(coTrackRetarder), &typeid(coTrackRail),  &typeid(coTrackRail)};
    ASSERT_EQ(definition.GetCrossSections().size(), classes.size());
    for (size_t i = 0; i < classes.size(); ++i)
        EXPECT_EQ(typeid(*definition.GetCrossSections()[i]), *classes[i]) << i;

    ASSERT_EQ(definition.GetCrossbars().size(), 2u);
    const coTrackCrossbar& crossbar = *definition.GetCrossbars()[0];
    const coTrackCrossbar& bare = *definition.GetCrossbars()[1];
    EXPECT_EQ(std::tuple(crossbar.spacing, bare.spacing, bare.model.get(), bare.group),
              std::tuple(3.0f, 2.0f, nullptr, 0));
    EXPECT_EQ(std::tuple(models.trees, models.partFlags),
              std::tuple(std::vector<bool>{false}, std::vector<bool>{false}));
    EXPECT_EQ(models.folders.at(0), coTrackTypeFolder());

    // Sections of the part first (exact case), then the crossbar model's materials.
    std::vector<g3dMaterial*> materials{nullptr};
    coCollectPartMaterials(definition, "Crossbar", materials);
    const std::vector<g3dMaterial*> expected = {
        definition.GetCrossSections()[0]->GetMaterial(), definition.GetCrossSections()[6]->GetMaterial(),
        crossbar.model->GetMaterial(0), crossbar.model->GetMaterial(1)};
    EXPECT_EQ(materials, expected);
    coCollectPartMaterials(definition, "Rail", materials); // a section without a material
    EXPECT_TRUE(materials.empty());
}

// A crossbar model not found by its name is told with "Track.def", where the name may be damaged.
TEST_F(coTrackGeomTest, AFailedLoadKeepsWhatWasReadBefore) {
    models.models = {{"crossbar.mx", 1}};
    LoadTrack("Track { Rail { } }");
    fsLocator definition = coTrackTypeFolder();
    definition.AppendComponent("Track.def");
    for (const char* geometry :
         {"missing.mx", "\"../crossbar.mx\"", "\"sub/crossbar.mx\"", "\".\"", "\"\""}) {
        try {
            LoadTrack(std::string("Track { Rail { }\nCross { Geometry ") + geometry + " }\nTube { } }");
            ADD_FAILURE() << geometry;
        } catch (const fsFileDoesntExistX& missing) {
            EXPECT_EQ(missing.GetNamedIn(), definition) << geometry;
        }
        EXPECT_EQ(coGetLoadedTrackDefinition()->GetCrossSections().size(), 1u);
        EXPECT_TRUE(coGetLoadedTrackDefinition()->GetCrossbars().empty());
    }
    EXPECT_THROW(coLoadTrackDefinition("Absent.def"), fsFileDoesntExistX);
    EXPECT_TRUE(coGetLoadedTrackDefinition()->GetCrossSections().empty());
}

// Every prefix of a full Coaster.def and Track.def, and each with a count or value replaced, loads or
// ends in the loader's exception; the sanitizers watch for the rest.
TEST_F(coTrackGeomTest, TruncatedAndMutatedDefinitionsEndInAnExceptionOrAWarning) {
    textures.known = {"rail.png"};
    models.models = {{"crossbar.mx", 1}};
    const std::string coaster = "CoasterDefinition\n{\nInverted 1\nEyePosition 0 2.5 -1.5\nNumCars 5\n"
                                "ExtrusionPolygon 3 -1 0 1 0 0 1\nCameraPitch 10\nCameraSlide 1 2 3 4\n}\n";
    const std::string track = "Track\n{\nRail\n{\nMaterial\n{\nTexture rail.png\nTextureSlide 0.5\n"
                              "Diffuse 1 1 1\n}\nCrossSection\n{\nVertices 2 -1 0 1 0\n}\nLOD 1\n}\n"
                              "Cross\n{\nGeometry crossbar.mx\nSpacing 4\n}\n}\n";
    // True when the load ends in the loader's exception.
    auto fails = [&](bool isCoaster, const std::string& text) {
        try {
            isCoaster ? LoadCoaster(text) : LoadTrack(text);
            return false;
        } catch (const envExceptionX&) {
            return true;
        }
    };
    size_t failures = 0;
    for (const bool isCoaster : {true, false}) {
        const std::string& full = isCoaster ? coaster : track;
        for (size_t length = 0; length <= full.size(); ++length)
            failures += fails(isCoaster, full.substr(0, length));
    }
    EXPECT_GT(failures, 50u);

    // Each site with each value: the loader's exception or a warning, never a quiet load.
    const std::vector<const char*> floats = {"1e99", "-1e99", "1e999"};
    const std::vector<const char*> counts = {"-1", "200", "65536", "2147483647"}, past = {"127"};
    const struct {
        bool coaster;
        const char *from, *to;
        const std::vector<const char*>& values;
    } sites[] = {
        {true, "0 2.5 -1.5", "0 @ -1.5", floats},
        {true, "CameraPitch 10", "CameraPitch @", floats},
        {true, "CameraSlide 1 2 3 4", "CameraSlide 1 2 @ 4", floats},
        {true, "3 -1 0 1 0 0 1", "3 -1 0 1 @ 0 1", floats},
        {true, "NumCars 5", "NumCars @", counts},
        {true, "ExtrusionPolygon 3", "ExtrusionPolygon @", past},
        {false, "TextureSlide 0.5", "TextureSlide @", floats},
        {false, "Diffuse 1 1 1", "Diffuse 1 @ 1", floats},
        {false, "Vertices 2 -1 0", "Vertices 2 -1 @", floats},
        {false, "Spacing 4", "Spacing @", floats},
        {false, "Vertices 2", "Vertices @", counts},
    };
    for (const auto& site : sites) {
        for (const char* value : site.values) {
            std::string to = site.to, text = site.coaster ? coaster : track;
            if (const size_t at = to.find('@'); at != std::string::npos)
                to.replace(at, 1, value);
            text.replace(text.find(site.from), std::string(site.from).size(), to);
            const size_t warnings = log.Count("**Warning**");
            EXPECT_TRUE(fails(site.coaster, text) || log.Count("**Warning**") > warnings) << text;
        }
    }
}
