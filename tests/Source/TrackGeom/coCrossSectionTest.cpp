#include "Source/TrackGeom/coCrossSection.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Graphics/An/an2StateAnimation.h"
#include "Engine/Graphics/G3d/g3dMaterialAnimation.h"
#include "Source/TrackGeom/coTrackDefinition.h"

#include "coTrackGeomTestSupport.h"

#include <cmath>
#include <tuple>

namespace {

constexpr float kHalfRoot2 = 0.70710677f;

void ExpectNormals(const std::vector<maVector2d>& outline, const std::vector<maVector2d>& expected) {
    coCrossSection section;
    section.SetVertices(outline.data(), static_cast<int>(outline.size()));
    std::vector<maVector2d> normals(7);
    for (int call = 0; call < 2; ++call) { // computed, then copied from the cache
        computeVertexNormals(section, normals);
        ASSERT_EQ(normals.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(normals[i].x, expected[i].x, 1e-6f) << i;
            EXPECT_NEAR(normals[i].y, expected[i].y, 1e-6f) << i;
        }
    }
}

} // namespace

TEST(coCrossSection, NormalsTurnTheTangentAndFollowNewVertices) {
    ExpectNormals({{0, 0}, {1, 0}}, {{0, -1}, {0, -1}});
    ExpectNormals({{1, 0}, {0, 0}}, {{0, 1}, {0, 1}});
    // Closed: both ends take the mean of the first edge (1, 0) and the last (-1, -1).
    ExpectNormals({{0, 0}, {1, 0}, {1, 1}, {0, 0}}, {{-1, 0}, {kHalfRoot2, -kHalfRoot2}, {0, 1}, {-1, 0}});
    // An interior vertex between coincident neighbours, and zero end tangents.
    ExpectNormals({{0, 0}, {1, 0}, {0, 0}}, {{1, 0}, {1, 0}, {1, 0}});
    ExpectNormals({{0, 0}, {0, 0}}, {{1, 0}, {1, 0}});
    ExpectNormals({{5, 5}}, {{0, 1}});
    ExpectNormals({}, {});

    coCrossSection section;
    const maVector2d right[2] = {{0, 0}, {1, 0}}, up[2] = {{0, 0}, {0, 1}};
    std::vector<maVector2d> normals;
    section.SetVertices(right, 2);
    computeVertexNormals(section, normals);
    section.SetVertices(up, 2);
    computeVertexNormals(section, normals);
    EXPECT_EQ(std::tuple(normals[1].x, normals[1].y), std::tuple(1.0f, 0.0f));
}

TEST_F(coTrackGeomTest, SectionAndMaterialChildren) {
    textures.known = {"rail.png"};
    textures.notInPak = {"packed.png"};
    LoadTrack(
        "Track\n{\nRail\n{\n"
        "Material\n{\nTexture rail.png\nTexture missing.png\nTexture packed.png\nTexture \"../rail.png\"\n"
        "TextureSlide 2\nTextureSlide 0\nTextureSlide -1e99\n"
        "Ambient 0.25 0.5 0.75\nDiffuse 1 0 1e99\nSpecular 0 0 0\nPower 8\nUnknown 1\n}\n"
        "CrossSection\n{\nVertices 2 -1 0 1 0\nVertices 3 0 0 1 1 2 0\n}\n"
        "LOD 2\nTextureSpacing 4\nSampleSpacing 1e999\nTextureSlide 3\nName Rail\n}\n}\n");
    const coCrossSection& rail = *coGetLoadedTrackDefinition()->GetCrossSections().at(0);
    EXPECT_EQ(std::tuple(rail.GetVertexCount(), rail.GetVertex(2).x, rail.GetLOD(), rail.GetTextureSpacing(),
                         rail.GetSampleSpacing(), rail.GetName()),
              std::tuple(3, 2.0f, 2, 4.0f, 0.0f, "Rail"));

    const g3dMaterial& material = *rail.GetMaterial();
    ASSERT_EQ(material.GetStageCount(), 1u);
    EXPECT_EQ(
        std::tuple(material.GetStage(0).texture, material.GetStage(0).mode, textures.references["rail.png"]),
        std::tuple(textures.Texture("rail.png"), 0u, 1));
    for (const std::string& missing :
         {"File not found: " + Path("missing.png"), "File not found in pak: " + Path("packed.png"),
          "File not found: " + Path("../rail.png")})
        EXPECT_EQ(log.Count(missing), 1u) << missing;
    // The diffuse 1e99 is refused.
    EXPECT_EQ(std::tuple(material.GetAmbient().b, material.GetDiffuse().g, material.IsSpecularEnabled(),
                         material.GetSpecular().r, material.GetSpecularPower()),
              std::tuple(0.75f, 1.0f, true, 0.0f, 8.0f));

    // One slide: the one directly in the section is not read, rates 0 and -1e99 give none.
    ASSERT_EQ(material.GetAnimationCount(), 1u);
    const g3dMaterialAnimation& slide = material.GetAnimation(0);
    EXPECT_EQ(std::tuple(slide.GetChannel(), slide.GetStartTime()), std::tuple(5u, 0.0f)); // stage 0's offset
    const auto& animation = dynamic_cast<const an2StateAnimation<maVector2d>&>(slide.GetAnimation());
    EXPECT_EQ(animation.GetDuration(), 0.5f);
    EXPECT_EQ(animation.Evaluate(animation.MapTime(0.875f)).y, -0.75f); // looping
    EXPECT_EQ(std::tuple(log.Count("gives no period"), log.Count("is not a finite number")),
              std::tuple(2u, 2u));

    coReleaseTrackTextures();
    EXPECT_EQ(textures.references["rail.png"], 0);
}

// Counts outside the limit, or larger than the pairs that follow, are malformed: the section is dropped.
TEST_F(coTrackGeomTest, VertexCountsOutsideTheLimitOrTheChunkAreMalformed) {
    for (const char* count : {"-1", "65536", "2147483647", "4294967295", "65535"}) {
        const std::string vertices = std::string("Vertices 1 7 7 }\nCrossSection { Vertices ") + count;
        EXPECT_THROW(LoadTrack("Track { Rail { CrossSection { " + vertices + " 1 1 } } }"), chInvalidChunkX)
            << count;
        EXPECT_TRUE(coGetLoadedTrackDefinition()->GetCrossSections().empty());
    }
}

// In the binary form the count is bounded by the bytes left in its chunk, not by the file's end.
TEST_F(coTrackGeomTest, BinaryVertexCountsAreBoundedByTheirChunk) {
    auto chunk = [](const char* id, const std::string& body) {
        const u32 size = static_cast<u32>(body.size());
        return std::string(id, 4) + std::string(reinterpret_cast<const char*>(&size), 4) +
               std::string(2, '\0') + body;
    };
    auto pairs = [](u32 count, int floats) {
        return std::string(reinterpret_cast<const char*>(&count), 4) + std::string(size_t(floats) * 4, '\0');
    };
    for (const u32 count : {1u, 2u}) {
        folder.Write("Tracks/Steel/Section.bin", std::string("KSFB\2\0\0\0", 8) +
                                                     chunk("CROS", chunk("VERT", pairs(count, 2))) +
                                                     chunk("NAME", std::string("Rail\0\0\0\0", 8)));
        gfFile file(folder.Locator("Tracks/Steel/Section.bin"), gfFileRead);
        file.ReadBinHeader(nullptr);
        chBinReader reader(&file);
        coCrossSection section;
        if (count == 1) {
            readCrossSection(reader, section);
            EXPECT_EQ(std::tuple(section.GetVertexCount(), section.GetName()), std::tuple(1, "Rail"));
        } else {
            EXPECT_THROW(readCrossSection(reader, section), chInvalidChunkX);
        }
    }
}
