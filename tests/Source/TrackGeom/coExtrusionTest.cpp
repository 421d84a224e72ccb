#include "Source/TrackGeom/coExtrusion.h"

#include "Source/Settings/coPrefs.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coBezier.h"
#include "Source/TrackGeom/coTrackDefinition.h"

#include "coTrackSceneTestSupport.h"

#include <cmath>
#include <tuple>

namespace {

class coExtrusionTest : public coTrackSceneTest {
  protected:
    // The v of every ring of the section's one opaque fragment (its first vertex in each ring).
    static std::vector<float> RingVs(const g3dFragment& fragment, int count) {
        std::vector<float> vs;
        for (u32 i = 0; i < fragment.GetVertexCount(); i += static_cast<u32>(count))
            vs.push_back(VertexAt<g3dVertexPNT2>(fragment, i).uv.y);
        return vs;
    }
};

const std::vector<maVector2d> kBar = {{-1.0f, 0.0f}, {1.0f, 0.0f}};

} // namespace

// Rings from the length (the default factor 0.9f evaluated in double), the level of detail or the sample
// spacing; texture repeats along v; eased ring fractions; the 16-bit cut with its warning.
TEST_F(coExtrusionTest, RingsTextureRepeatsAndEasedPlacement) {
    const struct {
        float length, textureSpacing, sampleSpacing;
        int lod, rings;
        float repeats;
    } cases[] = {
        {10.0f, 4.0f, 0.0f, 0, 8, 3.0f},      // 0.9f x 10 is 8.99999976: 8 rings, not 9
        {2.2f, 0.0f, 0.0f, 0, 2, 1.0f},       // shorter than 20/9: both ends only
        {10.0f, 25.0f, 0.0f, 0, 8, 0.0f},     // spacing above twice the length: v stays 0
        {10.0f, 0.0f, 0.0f, 1, 5, 1.0f},      // coarse
        {10.0f, 0.0f, 4.0f, 1, 4, 1.0f},      // the sample spacing wins over the level of detail
        {10.0f, 0.0f, 1e-4f, 0, 10923, 1.0f}, // 100001 asked for: cut to fit 65535 indices
    };
    for (const auto& c : cases) {
        coExactLinePiece piece(c.length);
        coTrackDefinition definition;
        auto section = MakeSection<coTrackRail>(kBar);
        section->SetTextureSpacing(c.textureSpacing);
        section->SetSampleSpacing(c.sampleSpacing);
        section->SetLOD(c.lod);
        definition.AddCrossSection(std::move(section));
        const size_t warnings = log.Count("**Warning**");
        {
            coSceneObjectSet set;
            coExtrudeCrossSections(definition, piece, set);
            const std::vector<const coTrackObject*> objects = Objects(set, c.lod);
            ASSERT_EQ(objects.size(), 1u) << c.length;
            const g3dFragment& fragment = *objects[0]->GetFragment();
            EXPECT_EQ(objects[0]->GetKind(), coTrackObjectKind::Static);
            EXPECT_EQ(objects[0]->GetRenderList(), 2);
            ASSERT_EQ(fragment.GetVertexCount(), 2 * c.rings) << c.length;
            EXPECT_EQ(fragment.GetIndexCount(), 6 * (c.rings - 1));
            const std::vector<float> vs = RingVs(fragment, 2);
            EXPECT_EQ(std::tuple(vs.front(), vs.back()), std::tuple(0.0f, c.repeats));
        }
        EXPECT_EQ(log.Count("**Warning**") - warnings, c.rings == 10923 ? 1u : 0u);
    }

    // Ring 1 of 8 at the eased 1/7: 3/49 - 2/343 = 19/343 of the piece; u across, the frame places it.
    coExactLinePiece piece(10.0f);
    coTrackDefinition definition;
    definition.AddCrossSection(MakeSection<coTrackRail>({{-1.0f, 0.5f}, {0.0f, 0.5f}, {1.0f, 0.5f}}));
    coSceneObjectSet set;
    coExtrudeCrossSections(definition, piece, set);
    const g3dFragment& fragment = *Objects(set)[0]->GetFragment();
    const auto vertex = VertexAt<g3dVertexPNT2>(fragment, 3 + 2);
    EXPECT_NEAR(vertex.position.z, 10.0f * 19.0f / 343.0f, 1e-5f);
    EXPECT_EQ(std::tuple(vertex.position.x, vertex.position.y, vertex.uv.x,
                         VertexAt<g3dVertexPNT2>(fragment, 4).uv.x),
              std::tuple(1.0f, 0.5f, 1.0f, 0.5f));
    // A straight outline along +x faces -y; the normal is the frame's, not renormalised.
    EXPECT_EQ(vertex.normal, maVector3d(0.0f, -1.0f, 0.0f));
    // Triangles (a, b+1, b) and (b+1, a, a+1).
    const std::vector<u16> first(fragment.GetIndices(), fragment.GetIndices() + 6);
    EXPECT_EQ(first, (std::vector<u16>{0, 4, 3, 4, 0, 1}));
    EXPECT_EQ(fragment.GetIndexCount(), 6 * 7 * 2);
}

// A one-vertex section is a line list of 2(R - 1) indices; R = 1 makes nothing; an empty outline is
// skipped; a section without a material takes the shared opaque white one.
TEST_F(coExtrusionTest, LinesEmptyAndMaterialFreeSections) {
    coExactLinePiece piece(10.0f);
    coTrackDefinition definition;
    definition.AddCrossSection(MakeSection<coTrackRail>({{0.0f, 1.0f}}));
    auto single = MakeSection<coTrackRail>(kBar);
    single->SetSampleSpacing(30.0f); // trunc(1/3 + 1/2) + 1 = 1 ring
    definition.AddCrossSection(std::move(single));
    definition.AddCrossSection(MakeSection<coTrackRail>({}));
    auto bare = std::make_unique<coTrackRail>();
    bare->SetVertices(kBar.data(), 2);
    definition.AddCrossSection(std::move(bare));

    coSceneObjectSet set;
    coExtrudeCrossSections(definition, piece, set);
    const std::vector<const coTrackObject*> objects = Objects(set);
    ASSERT_EQ(objects.size(), 2u);
    const g3dFragment& line = *objects[0]->GetFragment();
    EXPECT_EQ(std::tuple(line.GetPrimitive(), line.GetVertexKind(), line.GetVertexCount()),
              std::tuple(2u, g3dVertexKind::PN, 8));
    EXPECT_EQ(std::vector<u16>(line.GetIndices(), line.GetIndices() + line.GetIndexCount()),
              (std::vector<u16>{0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7}));
    EXPECT_EQ(std::tuple(objects[1]->GetFragment()->GetMaterial(0), coDefaultTrackMaterial()->IsTransparent(),
                         coDefaultTrackMaterial()->GetDiffuse().g),
              std::tuple(coDefaultTrackMaterial(), false, 1.0f));
}

// A transparent section goes in chunks of about 20 units that share their boundary ring, the last taking
// the remainder, each a movable object indexing from its own first vertex.
TEST_F(coExtrusionTest, TransparentSectionsComeInChunks) {
    const struct {
        float length;
        std::vector<int> firstRings, ringCounts;
    } cases[] = {
        {25.0f, {0, 10}, {11, 12}}, // R = 22, K = 2, S = 10
        {10.0f, {0}, {8}},
        {50.0f, {0, 14, 28}, {15, 15, 16}}, // R = 44, K = 3, S = 14, the last takes 1 more
    };
    for (const auto& c : cases) {
        coExactLinePiece piece(c.length);
        coTrackDefinition definition;
        definition.AddCrossSection(MakeSection<coTrackRail>(kBar, true));
        coSceneObjectSet set;
        coExtrudeCrossSections(definition, piece, set);
        const std::vector<const coTrackObject*> objects = Objects(set);
        ASSERT_EQ(objects.size(), c.firstRings.size()) << c.length;
        const int rings = static_cast<int>(static_cast<double>(0.9f) * c.length);
        for (size_t k = 0; k < objects.size(); ++k) {
            const g3dFragment& chunk = *objects[k]->GetFragment();
            EXPECT_EQ(std::tuple(objects[k]->GetKind(), chunk.GetVertexCount(), chunk.GetIndexCount()),
                      std::tuple(coTrackObjectKind::Movable, 2 * c.ringCounts[k], 6 * (c.ringCounts[k] - 1)));
            const float s = coEaseInOut(static_cast<float>(c.firstRings[k]) / static_cast<float>(rings - 1));
            EXPECT_NEAR(VertexAt<g3dVertexPNT2>(chunk, 0).position.z, s * c.length, 1e-4f) << k;
            EXPECT_EQ(chunk.GetIndices()[1], 3);
        }
    }
}

// Sections by class: the decorations only on their element or on tube pieces, rails everywhere.
TEST_F(coExtrusionTest, SectionsApplyByElementAndTubeFlag) {
    const coTrackRail rail;
    const coTrackChain chain;
    const coTrackBrakes brakes;
    const coTrackBooster booster;
    const coTrackRetarder retarder;
    const coTrackTube tube;
    const coCrossSection* sections[] = {&rail, &chain, &brakes, &booster, &retarder, &tube};
    const struct {
        int element, tube;
        bool applies[6];
    } cases[] = {
        {0, 0, {true, false, false, false, false, false}}, {1, 0, {true, true, false, false, false, false}},
        {2, 0, {true, false, true, false, false, false}},  {3, 0, {true, false, false, true, false, false}},
        {4, 1, {true, false, false, false, true, true}},   {0, 2, {true, false, false, false, false, false}},
    };
    for (const auto& c : cases)
        for (int s = 0; s < 6; ++s)
            EXPECT_EQ(coSectionApplies(*sections[s], c.element, c.tube), c.applies[s]) << c.element << s;
}

// Crossbars at t = k/n from n = trunc(L / ((1.3 - D) x spacing)); none once D reaches 1.3; capped.
TEST_F(coExtrusionTest, CrossbarsAlongThePiece) {
    const struct {
        float length, spacing, detail;
        int count;
    } counts[] = {
        {10.0f, 2.0f, 0.5f, 6}, {10.0f, 2.0f, 1.3f, 0},       {10.0f, 2.0f, 2.0f, 0},
        {10.0f, 0.0f, 0.5f, 0}, {10.0f, 2.0f, 1.2999f, 1000}, // 50000 asked for
    };
    for (const auto& c : counts)
        EXPECT_EQ(coCrossbarCount(c.length, c.spacing, c.detail), c.count) << c.detail;
    EXPECT_EQ(log.Count("1000 placed"), 1u);

    struct Model : coModelHolder {
        explicit Model(g3dFragment* f) : fragment(f) {}
        int GetModelCount() const override { return 1; }
        g3dFragment* GetModel(int) const override { return fragment; }
        g3dFragment* fragment;
    };
    g3dFragment* box = Keep(g3dFragmentManager::CreateBox(1.0f, 1.0f, 1.0f));
    coTrackDefinition definition;
    auto crossbar = std::make_unique<coTrackCrossbar>();
    crossbar->model = std::make_unique<Model>(box);
    definition.AddCrossbar(std::move(crossbar));
    definition.AddCrossbar(std::make_unique<coTrackCrossbar>()); // no model: nothing
    const float detail = coPrefs::GetFloat(coPrefCrossbarDetail);
    coPrefs::SetFloat(coPrefCrossbarDetail, 0.5f);
    coExactLinePiece piece(10.0f);
    piece.SetRoll(coDegrees(90.0f));
    {
        coSceneObjectSet set;
        coPlaceCrossbars(definition, piece, set);
        const std::vector<const coTrackObject*> objects = Objects(set);
        ASSERT_EQ(objects.size(), 6u);
        for (size_t k = 0; k < objects.size(); ++k) {
            EXPECT_EQ(std::tuple(objects[k]->GetKind(), objects[k]->GetFragment()),
                      std::tuple(coTrackObjectKind::Placed, box));
            EXPECT_NEAR(objects[k]->GetPlacement().position.z, 10.0f * static_cast<float>(k) / 6.0f, 1e-5f);
            maVector3d up(0.0f, 1.0f, 0.0f);
            objects[k]->GetPlacement().rotation.Rotate(up);
            EXPECT_NEAR(up.x, -1.0f, 1e-6f); // the frame's rolled up axis
        }
    }
    coPrefs::SetFloat(coPrefCrossbarDetail, 1.3f);
    coSceneObjectSet none;
    coPlaceCrossbars(definition, piece, none);
    EXPECT_EQ(none.GetGroupCount(), 0);
    coPrefs::SetFloat(coPrefCrossbarDetail, detail);
}
