// The shipped props and packs, read by the game's own readers from the built tree.
#include "Content/coBuiltTreeTest.h"
#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chReader.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Graphics/May/mayGeometry.h"
#include "Engine/Graphics/Sc/scParticleGeneratorTemplate.h"
#include "Source/Settings/coPakManager.h"
#include "Source/World/coPropDefinition.h"
#include "Source/World/coPropPack.h"
#include "Source/World/coPropTemplateList.h"
#include "Source/World/coThemeList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <tuple>

namespace {

namespace fs = std::filesystem;

const fs::path kData = LV_DATA_DIR;

fsLocator Locator(const fs::path& path) {
    fsLocator locator;
    fsLocatorFromNativePath(path.c_str(), locator);
    return locator;
}

// Every file a definition names, in exact case, beside the theme's folders and the effects root.
void ExpectFilesOf(const coPropDefinition& prop, const fs::path& theme, const std::string& what) {
    EXPECT_TRUE(fs::exists(theme / "Model" / envStringToNarrow(prop.model)))
        << what << ": " << envStringToNarrow(prop.model);
    std::vector<const coPropEventRecord*> events{&prop.idle, &prop.exit};
    for (const coPropEventRecord& entry : prop.entries)
        events.push_back(&entry);
    for (const coPropEventRecord* event : events) {
        if (event->animation.GetLength() > 0) {
            EXPECT_TRUE(fs::exists(theme / "Model" / envStringToNarrow(event->animation))) << what;
        }
        for (const coPropParticleItem& particle : event->particles) {
            const fs::path file = kData / "Data/Effects/Particle" / envStringToNarrow(particle.file);
            ASSERT_TRUE(fs::exists(file)) << what;
            scParticleGeneratorTemplate effect;
            scLoadParticleGeneratorTemplate(Locator(file), effect);
            EXPECT_TRUE(fs::exists(kData / "Data/Effects/Texture" /
                                   envStringToNarrow(effect.textureFile.GetLastComponent())));
        }
        for (const coPropSoundItem& sound : event->sounds)
            EXPECT_TRUE(fs::exists(theme / "Sound" / envStringToNarrow(sound.file))) << what;
    }
}

// Every vertex of a model file through the model reader, a hierarchy's joint moved to its place, and whether
// any material names a texture.
void ReadModel(chBinReader& reader, const maVector3d& place, maBoundingBox& bounds, size_t& vertices,
               bool& textured) {
    maVector3d here = place;
    u32 id = 0, size = 0;
    u16 version = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == chMakeId('H', 'T', 'R', 'N')) {
            f32 matrix[16];
            for (f32& value : matrix)
                reader.ReadFloat(&value);
            here = place + maVector3d(matrix + 12);
        } else if (id == chMakeId('G', 'F', 'R', 'G')) {
            mayMesh mesh;
            mayReadGeometry(reader, version, size, mesh, false);
            for (const maVector3d& position : mesh.positions)
                bounds.AddPoint(position + here);
            vertices += mesh.positions.size();
            for (const mayMaterialRecord& material : mesh.materials)
                textured |= !material.textureNames.empty();
        } else if (id != chMakeId('N', 'N', 'A', 'M') && id != chMakeId('H', 'J', 'O', 'R')) {
            ReadModel(reader, here, bounds, vertices, textured);
        }
        reader.EndChunk();
    }
}

struct coPropContentTest : coBuiltTreeTest {
    void SetUp() override {
        coBuiltTreeTest::SetUp();
        coPakManager::Create();
        coPakManager::OpenGeomPaks();
    }
    void TearDown() override {
        coPropTemplateList::DeleteAll();
        coThemeList::Clear();
        coPakManager::Destroy();
        coBuiltTreeTest::TearDown();
    }
};

TEST_F(coPropContentTest, EveryShippedDefinitionReadsAndNamesFilesThatExist) {
    int read = 0;
    // The themes folder also holds the palettes' default pictures.
    for (const auto& theme : fs::directory_iterator(kData / "Themes"))
        for (const auto& file : theme.is_directory() ? fs::directory_iterator(theme.path() / "Data")
                                                     : fs::directory_iterator()) {
            bool track = false;
            coReadPropTrackFlag(Locator(file.path()), track);
            ExpectFilesOf(coLoadPropDefinition(Locator(file.path())), theme.path(), file.path().string());
            ++read;
        }
    // Ironvale's four, the scenery's two and four of each theme that leads the props palette's row.
    EXPECT_EQ(read, 18);
    for (int row = 0; row < coPropPackCount; ++row) {
        fsLocator pack(coRootGeom);
        pack.AppendComponent(coGetPropPackRow(row).packFile);
        const fs::path theme = kData / "Themes" / coGetPropPackRow(row).theme;
        ExpectFilesOf(coLoadPropDefinition(pack), theme, coGetPropPackRow(row).packFile);
        // Once unlocked, the prop shows in the props palette by its own pictures, drawn from its model.
        const std::string name = fs::path(coGetPropPackRow(row).definitionFile).stem().string();
        for (const char* suffix : {"_i.png", "_pd.png"}) {
            const g2dPixelRows icon = g2dReadPNG(Locator(theme / "Icons" / (name + suffix)));
            std::set<std::vector<u8>> colours;
            for (size_t i = 0; i < icon.bytes.size(); i += icon.BytesPerPixel())
                colours.insert({icon.bytes[i], icon.bytes[i + 1], icon.bytes[i + 2]});
            EXPECT_GE(colours.size(), 8u) << name << suffix;
        }
    }
}

TEST_F(coPropContentTest, TheThemeListsItsPropsWithTheirNamesAndTheRewardJoinsThem) {
    coThemeList::Build();
    coPropTemplateList::Build(false);
    envString shown;
    coThemeList::GetDisplayName(shown, envString("Ironvale"));
    EXPECT_EQ(envStringToNarrow(shown), "Ironvale Works");
    coThemeList::GetDisplayName(shown, envString("Steel"));
    EXPECT_EQ(envStringToNarrow(shown), "Steel Coaster");

    int category = -1, index = -1;
    coFindPropTemplate(envString("banner"), category, index);
    ASSERT_GE(category, 0);
    EXPECT_TRUE(coPropTemplateList::GetTemplate(index, category)->IsTrackProp());
    std::vector<std::string> names;
    for (int i = 0; i < coPropTemplateList::GetTemplateCount(category); ++i)
        names.push_back(envStringToNarrow(coPropTemplateList::GetTemplate(i, category)->GetName()));
    EXPECT_EQ(names, (std::vector<std::string>{"Track Banner", "Park Bench", "Fountain", "Tube Dancer"}));

    // The scenery of the "Environment" theme is a category of its own.
    coFindPropTemplate(envString("pine"), category, index);
    ASSERT_GE(category, 0);
    EXPECT_EQ(envStringToNarrow(coPropTemplateList::GetCategoryName(category)), "Environment");
    EXPECT_EQ(envStringToNarrow(coPropTemplateList::GetTemplate(index, category)->GetName()), "Pine Tree");
    coThemeList::GetDisplayName(shown, envString("Environment"));
    EXPECT_EQ(envStringToNarrow(shown), "Scenery");

    coFindPropTemplate(envString("banner"), category, index);
    coUnlockCareerRewardPack();
    EXPECT_EQ(envStringToNarrow(coPropTemplateList::GetTemplate(4, category)->GetName()), "Golden Trophy");
}

} // namespace

namespace {

// A prop's model, read whole: untextured, standing on the ground about its origin at a size between a
// barrel's and a windmill's. Returns its vertex count and bounds.
std::pair<size_t, maBoundingBox> ExpectPlainModelOnTheGround(const fs::path& file, const std::string& name) {
    gfFile model(Locator(file), gfFileRead);
    model.ReadBinHeader(nullptr);
    chBinReader reader(&model);
    maBoundingBox bounds;
    size_t vertices = 0;
    bool textured = false;
    ReadModel(reader, {}, bounds, vertices, textured);
    EXPECT_FALSE(textured) << name;
    EXPECT_NEAR(bounds.minY, 0.0f, 0.01f) << name;
    EXPECT_GT(bounds.maxY, 0.8f) << name;
    EXPECT_LT(bounds.maxY, 8.0f) << name;
    for (float side : {bounds.minX, bounds.maxX, bounds.minZ, bounds.maxZ})
        EXPECT_LT(std::fabs(side), 3.0f) << name;
    return {vertices, bounds};
}

// Each pack gives a model of its own: no two alike, none of the theme's own, standing on the ground about its
// origin at a size between a barrel's and a windmill's, in plain colours.
TEST_F(coPropContentTest, EachPackPropHasAModelOfItsOwn) {
    std::set<std::string> files{"bench.mx", "banner.mx", "fountain.mhx", "tubedancer.msk"};
    std::set<std::tuple<size_t, int, int>> shapes;
    for (int row = 0; row < coPropPackCount; ++row) {
        fsLocator pack(coRootGeom);
        pack.AppendComponent(coGetPropPackRow(row).packFile);
        const std::string file = envStringToNarrow(coLoadPropDefinition(pack).model);
        const std::string name = coGetPropPackRow(row).definitionFile;
        EXPECT_TRUE(files.insert(file).second) << name << " reuses " << file;

        const auto [vertices, bounds] = ExpectPlainModelOnTheGround(
            kData / "Themes" / coGetPropPackRow(row).theme / "Model" / file, name);
        EXPECT_LT(std::fabs(bounds.minX + bounds.maxX), 0.5f) << name;
        shapes.insert({vertices, int(bounds.maxY * 10), int((bounds.maxX - bounds.minX) * 10)});
    }
    EXPECT_EQ(shapes.size(), size_t(coPropPackCount));
}

// The themes that lead the props palette's row: each shown by its name, its four props named and found in it,
// each model standing on the ground about its origin in plain colours.
TEST_F(coPropContentTest, TheLeadingThemesNameTheirPropsAndStandThemOnTheGround) {
    coThemeList::Build();
    coPropTemplateList::Build(false);
    const std::pair<const char*, const char*> themes[] = {
        {"Amusement Park", "Fairground"}, {"Gothic", "Gothic"}, {"Monster Island", "Monster Island"}};
    for (const auto& [folder, display] : themes) {
        envString shown;
        coThemeList::GetDisplayName(shown, envString(folder));
        EXPECT_EQ(envStringToNarrow(shown), display);
        int props = 0;
        for (const auto& file : fs::directory_iterator(kData / "Themes" / folder / "Data")) {
            const std::string name = file.path().stem().string();
            int category = -1, index = -1;
            coFindPropTemplate(envString(name.c_str()), category, index);
            ASSERT_GE(category, 0) << name;
            EXPECT_EQ(envStringToNarrow(coPropTemplateList::GetCategoryName(category)), folder) << name;
            EXPECT_GT(coPropTemplateList::GetTemplate(index, category)->GetName().GetLength(), 0u) << name;

            const std::string model = envStringToNarrow(coLoadPropDefinition(Locator(file.path())).model);
            ExpectPlainModelOnTheGround(kData / "Themes" / folder / "Model" / model, name);
            ++props;
        }
        EXPECT_EQ(props, 4) << folder;
    }
}

} // namespace
