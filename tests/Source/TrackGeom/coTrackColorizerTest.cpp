#include "Source/TrackGeom/coTrackColorizer.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsWriteCalls.h"
#include "Engine/App/Gf/gfFile.h"
#include "Source/TrackGeom/coSupportMaker.h"
#include "Source/TrackGeom/coTrackDefinition.h"
#include "Source/TrackGeom/coTrackDefinitionSource.h"

#include "coTrackGeomTestSupport.h"

#include <tuple>

namespace {

coSchemeMaterial Diffuse(float r, float g, float b) {
    coSchemeMaterial record;
    record.diffuse = g3dARGBColor(r, g, b, 1.0f);
    return record;
}

// As a record reads back from a file: every alpha 1.
coSchemeMaterial Opaque(float r, float g, float b) {
    coSchemeMaterial record = Diffuse(r, g, b);
    record.ambient.a = record.specular.a = 1.0f;
    return record;
}

// A track with a "Rail" section and "Rail" crossbars, supports with a "Rail" pole and a "Support" plane.
struct coTrackColorizerTest : coTrackGeomTest {
    void SetUp() override {
        coTrackGeomTest::SetUp();
        textures.known = {"rail.png"};
        models.models = {{"bar.mx", 2}};
        LoadTrack("Track { Rail { Name Rail\nMaterial { Power 3 } }\n"
                  "Tube { Name Center\nMaterial { Power 3 } }\n"
                  "Cross { Name Rail\nGeometry bar.mx } }");
        folder.Write("Tracks/Steel/Support.def", "Support { Pole { Name Rail\nMaterial { Power 3 } }\n"
                                                 "Plane { Name Support\nMaterial { Power 3 } } }");
        coGetTrackDefinitionSource().LoadSupportDefinition("Support.def");
    }
    void TearDown() override {
        coTrackColorizer::ClearCurrent();
        coTrackColorizer::ClearSchemes();
        coTrackColorizer::FindMatchingScheme();
        coTrackGeomTest::TearDown();
    }
    // Every material of the part, track first.
    std::vector<g3dMaterial*> Materials(const std::string& part) {
        std::vector<g3dMaterial*> out;
        coCollectPartMaterials(*coGetTrackDefinitionSource().GetTrackDefinition(), part, out);
        coGetTrackDefinitionSource().GetSupportMaker()->CollectMaterials(part, out);
        return out;
    }
    std::vector<coColorScheme> Schemes() {
        std::vector<coColorScheme> schemes;
        coTrackColorizer::CopySchemes(schemes);
        return schemes;
    }
    fsLocator File() const { return folder.Locator("TrkColor.def"); }
};

} // namespace

TEST_F(coTrackColorizerTest, SchemesAreSelectedMatchedAndAppliedByPartName) {
    coTrackColorizer::MakeDefaultSchemes();
    ASSERT_EQ(coTrackColorizer::GetSchemeCount(), 3);
    const std::vector<g3dMaterial*> rail = Materials("Rail");
    ASSERT_EQ(rail.size(), 4u); // section, two crossbar-model materials, pole
    ASSERT_EQ(Materials("Support").size(), 1u);

    coTrackColorizer::SelectScheme(1);
    EXPECT_EQ(coTrackColorizer::GetSelectedIndex(), 1);
    for (g3dMaterial* material : rail) {
        EXPECT_EQ(material->GetDiffuse().b, 0.8f);
        EXPECT_EQ(material->GetSpecularPower(), 1.0f);
    }
    EXPECT_EQ(Materials("Support")[0]->GetDiffuse().r, 0.6f);
    coTrackColorizer::FindMatchingScheme();
    EXPECT_EQ(coTrackColorizer::GetSelectedIndex(), 1);

    // Any change of one component is custom.
    coSchemeMaterial changed = coTrackColorizer::GetCurrentScheme().at("Rail");
    changed.diffuse.g = std::nextafter(0.0f, 1.0f);
    coTrackColorizer::SetCurrentPart("Rail", changed);
    coTrackColorizer::FindMatchingScheme();
    EXPECT_EQ(coTrackColorizer::GetSelectedIndex(), 3);

    // Out-of-range indices change nothing; an unknown part reaches no material.
    for (int index : {-1, 3, 1 << 30}) {
        coTrackColorizer::ApplySchemeByIndex(index);
        coTrackColorizer::SelectScheme(index);
    }
    coTrackColorizer::ApplyPart("Nothing", Diffuse(0.1f, 0.1f, 0.1f));
    EXPECT_EQ(std::tuple(rail[0]->GetDiffuse().b, coTrackColorizer::GetSelectedIndex()), std::tuple(0.8f, 3));

    // A custom scheme merges into the current colours; parts it lacks keep theirs.
    coTrackColorizer::SetCurrentScheme({{"Center", Diffuse(0.2f, 0.3f, 0.4f)}, {"Extra", Diffuse(1, 1, 1)}});
    EXPECT_EQ(std::tuple(coTrackColorizer::GetSelectedIndex(), coTrackColorizer::GetCurrentScheme().size(),
                         Materials("Center")[0]->GetDiffuse().g),
              std::tuple(3, 5u, 0.3f));

    // A bad index for a stored part is refused with a warning.
    coTrackColorizer::SetSchemePart(7, "Rail", changed);
    coTrackColorizer::SetSchemePart(-1, "Rail", changed);
    EXPECT_EQ(log.Count("**Warning**"), 2u);
    EXPECT_EQ(Schemes()[1].at("Rail"), Diffuse(0.0f, 0.0f, 0.8f));
}

TEST_F(coTrackColorizerTest, ATextureThatCannotBeLoadedLeavesThePartUntextured) {
    g3dMaterial material;
    coSchemeMaterial record = Diffuse(1.0f, 0.0f, 0.0f);
    for (const char* name : {"rail.png", "missing.png", "../rail.png", "", "rail.png", "rail.png"}) {
        record.texture = name;
        coTrackColorizer::ApplyMaterial(material, record);
        EXPECT_EQ(material.GetStageCount(), std::string(name) == "rail.png" ? 1u : 0u) << name;
        EXPECT_TRUE(material.IsSpecularEnabled());
    }
    EXPECT_EQ(log.Count("**Warning**"), 2u);
    EXPECT_EQ(textures.references["rail.png"], 1); // held once by the track texture list
}

TEST_F(coTrackColorizerTest, TheFileReadsAnIndependentTextAndRoundTrips) {
    folder.Write("TrkColor.def", "ColorScheme\n{\nMaterial\n{\nName Rail\nDiffuse 0.5 0.25 1\n"
                                 "Specular 1 1 1\nPower 7\nTexture rail.png\nUnknown 3\n}\n"
                                 "Material\n{\nDiffuse 1 1 1\n}\n" // nameless: dropped
                                 "Material\n{\nName Center\nTexture \"../x.png\"\n}\n}\n"
                                 "Other { }\nColorScheme\n{\n}\n");
    loadColorSchemes(File());
    const std::vector<coColorScheme> read = Schemes();
    ASSERT_EQ(read.size(), 2u);
    ASSERT_EQ(read[0].size(), 2u);
    coSchemeMaterial rail = Diffuse(0.5f, 0.25f, 1.0f);
    rail.specular = g3dARGBColor(1.0f, 1.0f, 1.0f, 1.0f);
    rail.power = 7.0f;
    rail.texture = "rail.png";
    EXPECT_EQ(read[0].at("Rail"), rail);
    EXPECT_EQ(read[0].at("Center"), coSchemeMaterial()); // the texture dropped with a warning
    EXPECT_EQ(std::tuple(log.Count("**Warning**"), read[1].empty()), std::tuple(1u, true));

    // Without current colours each scheme is written whole; alpha reads back as 1.
    rail.ambient.a = 1.0f;
    coTrackColorizer::AssignSchemes({{{"Rail", rail}, {"Support", Opaque(0.1f, 0.2f, 0.3f)}}});
    coTrackColorizer::SetSchemePart(0, "Center", Opaque(0.0f, 0.0f, 0.0f));
    const std::vector<coColorScheme> whole = Schemes();
    saveColorSchemes(File());
    loadColorSchemes(File());
    EXPECT_EQ(Schemes(), whole);
    // With current colours only their parts are kept.
    coTrackColorizer::SetCurrentPart("Support", coSchemeMaterial());
    saveColorSchemes(File());
    loadColorSchemes(File());
    EXPECT_EQ(Schemes(), (std::vector<coColorScheme>{{{"Support", whole[0].at("Support")}}}));

    // A failing write leaves the old file; with no scheme the file is deleted.
    const std::string old = folder.Read("TrkColor.def");
    coTrackColorizer::AssignSchemes(whole);
    {
        const fsWriteCalls failing(EIO);
        EXPECT_THROW(saveColorSchemes(File()), envExceptionX);
    }
    EXPECT_EQ(folder.Read("TrkColor.def"), old);
    coTrackColorizer::ClearSchemes();
    saveColorSchemes(File());
    EXPECT_FALSE(fsFileExists(File()));

    // A built-in scheme (alpha 0) is still recognised once written and read back (alpha 1).
    coTrackColorizer::MakeDefaultSchemes();
    coTrackColorizer::SelectScheme(2);
    saveColorSchemes(File());
    loadColorSchemes(File());
    coTrackColorizer::FindMatchingScheme();
    EXPECT_EQ(coTrackColorizer::GetSelectedIndex(), 2);
}

// Every prefix of a "TrkColor.def" and of a saved coaster's colour chunk, and values made NaN: the
// reader's exception or a load, and a refused file changes neither the list nor the current colours.
TEST_F(coTrackColorizerTest, DamagedSchemesEndInTheReadersExceptionAndChangeNothing) {
    const std::string text = "ColorScheme\n{\nMaterial\n{\nName Rail\nAmbient 0.1 0.2 0.3\n"
                             "Diffuse 0.5 0.25 1\nPower 7\nTexture rail.png\n}\n}\n";
    coTrackColorizer::MakeDefaultSchemes();
    const std::vector<coColorScheme> before = Schemes();
    size_t refused = 0;
    auto loads = [&](const std::string& bytes) {
        folder.Write("TrkColor.def", bytes);
        try {
            loadColorSchemes(File());
        } catch (const chInvalidChunkX&) {
            ++refused;
            EXPECT_EQ(Schemes(), before) << bytes;
        }
        coTrackColorizer::AssignSchemes(before);
    };
    for (size_t length = 0; length <= text.size(); ++length)
        loads(text.substr(0, length));
    for (const char* value : {"nan", "inf", "-1e999"})
        loads("ColorScheme { Material { Name Rail\nDiffuse 1 " + std::string(value) + " 1 } }");
    EXPECT_GT(refused, 20u);

    // The binary form inside a saved coaster.
    coTrackColorizer::SetCurrentScheme(before[2]);
    coTrackColorizer::SetCurrentPart("Rail", Diffuse(0.5f, 0.5f, 0.5f));
    const coColorScheme current = coTrackColorizer::GetCurrentScheme();
    auto written = [&] {
        gfWriteFileAtomically(folder.Locator("colors.bin"), gfByteOrderData, [](gfFile& file) {
            chBinWriter writer(&file);
            coTrackColorizer::WriteScheme(writer);
        });
        return folder.Read("colors.bin");
    };
    const std::string bytes = written();
    for (size_t length = 0; length <= bytes.size(); ++length) {
        gfFile file(folder.Write("cut.bin", bytes.substr(0, length)), gfFileRead, gfByteOrderData);
        chBinReader reader(&file);
        try {
            const coColorScheme read = coTrackColorizer::ReadScheme(reader);
            if (length == bytes.size()) {
                coTrackColorizer::ReplaceCurrent(read);
                EXPECT_EQ(written(), bytes);
                EXPECT_EQ(coTrackColorizer::GetSelectedIndex(), coTrackColorizer::GetSchemeCount());
                break;
            }
        } catch (const chInvalidChunkX&) {
        }
        EXPECT_EQ(coTrackColorizer::GetCurrentScheme(), current);
    }
}
