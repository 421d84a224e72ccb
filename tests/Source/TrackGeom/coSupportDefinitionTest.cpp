#include "Source/TrackGeom/coSupportDefinitionReader.h"

#include "Engine/App/Ch/chExceptions.h"
#include "Source/TrackGeom/coSupportMakerPole.h"

#include "coTrackGeomTestSupport.h"

#include <tuple>

namespace {

struct coSupportDefinitionTest : coTrackGeomTest {
    std::unique_ptr<coSupportMakerPole> Load(const std::string& text) {
        auto maker = std::make_unique<coSupportMakerPole>();
        LoadInto(text, *maker);
        return maker;
    }
    void LoadInto(const std::string& text, coSupportMaker& maker) {
        folder.Write("Tracks/Steel/Support.def", text);
        coLoadSupportDefinition("Support.def", maker);
    }
};

} // namespace

// The three numbers keep the pole maker's defaults unless named; a number that is not finite keeps the
// one before, with a warning.
TEST_F(coSupportDefinitionTest, NumbersAndTheirDefaults) {
    const struct {
        const char* text;
        float x, y, angle;
        size_t warnings;
    } cases[] = {
        {"Support { }", 4.0f, 2.0f, 5.0f, 0},
        {"Support { XOffset 3 }", 3.0f, 2.0f, 5.0f, 0},
        {"Support { SupportAngle 7.9 YOffset -1 }", 4.0f, -1.0f, 7.9f, 0},
        {"Support { XOffset 2 XOffset 1e999 }", 2.0f, 2.0f, 5.0f, 1},
    };
    for (const auto& c : cases) {
        const size_t before = log.Count("**Warning**");
        const auto maker = Load(c.text);
        EXPECT_EQ(std::tuple(maker->GetXOffset(), maker->GetYOffset(), maker->GetSupportAngle(),
                             log.Count("**Warning**") - before),
                  std::tuple(c.x, c.y, c.angle, c.warnings))
            << c.text;
    }
}

// Every kind of entry in file order into its list, unknown chunks skipped; planes keep their defaults
// unless set; a part's materials come from poles, planes, then the models, by exact name.
TEST_F(coSupportDefinitionTest, EntriesInFileOrderWithPartMaterials) {
    models.models = {{"pole.mx", 1}, {"joint.mx", 2}, {"half.mx", 1}};
    const auto maker =
        Load("Support\n{\n"
             "Pole { Name Steel\nMaterial { Diffuse 1 0 0 }\nCrossSection { Vertices 2 0 0 1 0 }\nLOD 1 }\n"
             "Pole { Name Other }\n"
             "Plane { Name Steel }\n"
             "Plane { Name Wall\nMaterial { Power 2 }\nLOD 2\nTextureSpacing 3\nUnknown 5 }\n"
             "PoleGeom { Geometry pole.mx\nName Steel }\n"
             "Mystery { Geometry missing.mx }\n"
             "JointGeom { Name Steel\nGeometry joint.mx }\n"
             "HalfJoint { Geometry half.mx\nName steel }\n}\n");
    ASSERT_EQ(maker->GetPoles().size(), 2u);
    EXPECT_EQ(std::tuple(maker->GetPoles()[0]->GetVertexCount(), maker->GetPoles()[0]->GetLOD()),
              std::tuple(2, 1));
    ASSERT_EQ(maker->GetPlanes().size(), 2u);
    const coSupportPlane& plain = *maker->GetPlanes()[0];
    const coSupportPlane& wall = *maker->GetPlanes()[1];
    EXPECT_EQ(std::tuple(plain.spacing, plain.group, plain.material.get()), std::tuple(4.0f, 0, nullptr));
    EXPECT_EQ(std::tuple(wall.spacing, wall.group), std::tuple(3.0f, 2));
    ASSERT_NE(wall.material, nullptr);
    ASSERT_EQ(maker->GetPoleGeometry().size(), 1u);
    ASSERT_EQ(maker->GetJointGeometry().size(), 1u);
    ASSERT_EQ(maker->GetHalfJointGeometry().size(), 1u);
    EXPECT_EQ(std::tuple(maker->GetHalfJointGeometry()[0]->name, maker->GetPoleGeometry()[0]->group),
              std::tuple("steel", 0));
    EXPECT_EQ(models.partFlags, (std::vector<bool>{false, false, false}));

    std::vector<g3dMaterial*> materials;
    maker->CollectMaterials("Steel", materials);
    const std::vector<g3dMaterial*> expected = {maker->GetPoles()[0]->GetMaterial(),
                                                maker->GetPoleGeometry()[0]->model->GetMaterial(0),
                                                maker->GetJointGeometry()[0]->model->GetMaterial(0),
                                                maker->GetJointGeometry()[0]->model->GetMaterial(1)};
    EXPECT_EQ(materials, expected);
    materials.clear();
    maker->CollectMaterials("Nothing", materials);
    maker->CollectMaterials("Other", materials); // a pole without a material gives none
    EXPECT_TRUE(materials.empty());
}

// Model names are one plain file name; a fault throws and leaves the entries read before it; a model not
// found by its name is told with "Support.def", where the name may be damaged; every prefix of a file
// loads or throws the chunk reader's exception, and the maker is freed whole either way.
TEST_F(coSupportDefinitionTest, FaultsKeepTheEntriesReadBefore) {
    models.models = {{"pole.mx", 1}};
    fsLocator definition = coTrackTypeFolder();
    definition.AppendComponent("Support.def");
    const std::string names[] = {"missing.mx", "\"../pole.mx\"", "\"sub/pole.mx\"",
                                 "\"..\"",     "\"\"",           std::string(300, 'p')};
    for (const std::string& geometry : names) {
        coSupportMakerPole maker;
        try {
            LoadInto("Support { Pole { } PoleGeom { Geometry pole.mx }\nJointGeom { Geometry " + geometry +
                         " }\nPole { } }",
                     maker);
            ADD_FAILURE() << geometry;
        } catch (const fsFileDoesntExistX& missing) {
            EXPECT_EQ(missing.GetNamedIn(), definition) << geometry;
        }
        EXPECT_EQ(std::tuple(maker.GetPoles().size(), maker.GetPoleGeometry().size(),
                             maker.GetJointGeometry().empty()),
                  std::tuple(1u, 1u, true));
    }

    const std::string full = "Support\n{\nPole\n{\nMaterial\n{\nDiffuse 1 1 1\n}\nCrossSection\n{\n"
                             "Vertices 2 0 0 1 0\n}\n}\nPlane\n{\nTextureSpacing 2\n}\n"
                             "PoleGeom\n{\nGeometry pole.mx\n}\nXOffset 3\n}\n";
    size_t failures = 0;
    for (size_t length = 0; length <= full.size(); ++length) {
        try {
            Load(full.substr(0, length));
        } catch (const envExceptionX&) {
            ++failures;
        }
    }
    EXPECT_GT(failures, 20u);
    EXPECT_THROW(Load("Support { Pole { CrossSection { Vertices 70000 } } }"), chInvalidChunkX);
}
