#include "g3dRendererFixture.h"

#include "Engine/Graphics/An/an2StateAnimation.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G3d/g3dMaterialAnimation.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"

#include <memory>

namespace {

const std::vector<std::string> kSetup = {"SetMaterial", "SetTextureStageState", "SetTexture "};
const std::vector<std::string> kDraws = {"DrawIndexedPrimitive "};

class g3dRendererDrawTest : public g3dRendererFixture {
  protected:
    // A strip of triangleCount triangles over four vertices, one material slot per entry of materials.
    g3dFragment* Make(u32 triangleCount, std::vector<g3dMaterial*> materials, std::vector<u32> rangeStarts) {
        const std::vector<maVector3d> positions(4, maVector3d(0, 0, 0)), normals(4, maVector3d(0, 1, 0));
        std::vector<u16> indices(triangleCount * 3);
        for (u32 i = 0; i < indices.size(); ++i)
            indices[i] = static_cast<u16>(i % 4);
        return Keep(g3dFragmentManager::CreateFragmentPNT(
            positions.data(), normals.data(), 4, indices.data(), static_cast<u32>(indices.size()),
            materials.data(), rangeStarts.data(), static_cast<u32>(materials.size()), false));
    }
    void Draw(const g3dFragment& fragment) {
        Device().BeginScene();
        g3dRendererPAC::DrawFragment(fragment, m_last, m_forced);
        Device().EndScene();
    }

    const g3dMaterial* m_last = nullptr;
    bool m_forced = false;
    g3dMaterial m_a, m_b, m_c;
};

} // namespace

TEST_F(g3dRendererDrawTest, RangesFollowTheMaterialsAndThePrimitive) {
    g3dFragment* three = Make(8, {&m_a, &m_b, &m_c}, {2, 5});
    Mark();
    g3dRendererPAC::ResetTriangleCount();
    Draw(*three);
    EXPECT_EQ(Since(kDraws),
              (std::vector<std::string>{"DrawIndexedPrimitive 4 0 4 0 2", "DrawIndexedPrimitive 4 0 4 6 3",
                                        "DrawIndexedPrimitive 4 0 4 15 3"}));
    EXPECT_EQ(Since({"SetStreamSource", "SetIndices", "SetVertexShader"}),
              (std::vector<std::string>{"SetStreamSource 0 32", "SetIndices 0", "SetVertexShader 112"}));
    EXPECT_EQ(g3dRendererPAC::GetTriangleCount(), 8u);

    // A null range is skipped; entries past the range starts are never read.
    three->SetMaterial(nullptr, 1);
    three->SetMaterial(&m_a, 6);
    Mark();
    Draw(*three);
    EXPECT_EQ(Since(kDraws), (std::vector<std::string>{"DrawIndexedPrimitive 4 0 4 0 2",
                                                       "DrawIndexedPrimitive 4 0 4 15 3"}));

    const std::vector<maVector3d> points(4, maVector3d(0, 0, 0));
    const u16 indices[10] = {0, 1, 1, 2, 2, 3, 3, 0, 0, 2};
    g3dMaterial* one = &m_a;
    g3dFragment* lines = Keep(g3dFragmentManager::CreateFragmentPN(points.data(), points.data(), 4, indices,
                                                                   10, &one, nullptr, 1, false));
    g3dRendererPAC::ResetTriangleCount();
    Mark();
    Draw(*lines);
    EXPECT_EQ(Since(kDraws), std::vector<std::string>{"DrawIndexedPrimitive 2 0 4 0 5"});
    EXPECT_EQ(g3dRendererPAC::GetTriangleCount(), 5u);

    // Between a loss and the reset the buffers are gone and nothing is drawn.
    g2dBroadcastDeviceLost();
    Mark();
    Draw(*three);
    EXPECT_EQ(Since({"Set", "Draw"}), std::vector<std::string>{});
    g2dBroadcastDeviceReset();
}

TEST_F(g3dRendererDrawTest, CombinersFollowTheStageCountAndModes) {
    // Lines "stage state value" of the stage states: 1 colour op, 2-3 colour args, 4 alpha op, 5-6 alpha
    // args, 13-14 addressing; ops 1 disable, 3 select arg 2, 4 modulate, 11 add smooth, 13 blend texture
    // alpha.
    const auto tss = [](std::vector<std::string> lines) {
        for (std::string& line : lines)
            line = "SetTextureStageState " + line;
        return lines;
    };
    const std::vector<std::string> stage0 = {"0 2 2", "0 3 0", "0 1 4", "0 5 2", "0 6 0", "0 4 4"};
    auto join = [](std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const struct {
        std::vector<u32> modes;
        std::vector<std::string> states;
    } cases[] = {
        {{}, tss({"0 1 3", "0 4 3", "1 1 1"})},
        {{0}, tss(join(stage0, {"0 13 1", "0 14 1", "1 1 1"}))},
        {{1}, tss(join(stage0, {"0 13 3", "0 14 3", "1 1 1"}))},
        {{0, 0},
         tss(join(join({"0 13 1", "0 14 1"}, stage0), {"1 13 1", "1 14 1", "1 2 2", "1 3 1", "1 1 13",
                                                       "1 5 2", "1 6 1", "1 4 11", "2 1 1", "2 4 1"}))},
        {{0, 1},
         tss(join(join({"0 13 1", "0 14 1"}, stage0), {"1 13 3", "1 14 3", "1 2 2", "1 3 1", "1 1 4", "1 5 2",
                                                       "1 6 1", "1 4 4", "2 1 1", "2 4 1"}))},
    };
    for (const auto& c : cases) {
        g3dMaterial material;
        for (u32 mode : c.modes)
            material.AddTextureStage(Texture(8), mode);
        g3dFragment* fragment = Make(2, {&material}, {});
        m_last = nullptr;
        g3dRendererPAC::ResetTextureStages();
        Mark();
        Draw(*fragment);
        std::vector<std::string> states = Since({"SetTextureStageState"});
        EXPECT_EQ(states, c.states) << c.modes.size();
    }
    // A wrapped stage after a clamped one of the same count is set up again; the same count and
    // addressing are not.
    g3dMaterial clamped, wrapped, alsoWrapped;
    clamped.AddTextureStage(Texture(8), 1);
    wrapped.AddTextureStage(Texture(8), 0);
    alsoWrapped.AddTextureStage(Texture(8), 0);
    g3dFragment* fragment = Make(3, {&clamped, &wrapped, &alsoWrapped}, {1, 2});
    Mark();
    Draw(*fragment);
    EXPECT_EQ(Since({"SetTextureStageState 0 13"}),
              (std::vector<std::string>{"SetTextureStageState 0 13 3", "SetTextureStageState 0 13 1"}));
}

TEST_F(g3dRendererDrawTest, StagesBindWhatTheVerticesCanRead) {
    g3dMaterial two;
    two.AddTextureStage(Texture(8), 0);
    two.AddTextureStage(Texture(16), 0);
    g3dFragment* first = Make(2, {&two}, {});
    g3dFragment* second = Make(2, {&two}, {});
    Mark();
    Draw(*first);
    EXPECT_EQ(Since({"SetTexture "}), (std::vector<std::string>{"SetTexture 0 8x8", "SetTexture 1 null"}));
    EXPECT_EQ(Since({"SetTextureStageState 1 1 "}), std::vector<std::string>{"SetTextureStageState 1 1 13"});
    Mark();
    Draw(*second);
    EXPECT_EQ(Since(kSetup), std::vector<std::string>{});
    // The same material for vertices without coordinates unbinds its stages; with them again, binds them.
    const maVector3d points[3] = {};
    const u16 indices[3] = {0, 1, 2};
    g3dMaterial* const materials[1] = {&two};
    g3dFragment* bare = Keep(
        g3dFragmentManager::CreateFragmentPN(points, points, 3, indices, 3, materials, nullptr, 1, false));
    Mark();
    Draw(*bare);
    Draw(*second);
    EXPECT_EQ(Since({"SetTexture "}), (std::vector<std::string>{"SetTexture 0 null", "SetTexture 1 null",
                                                                "SetTexture 0 8x8", "SetTexture 1 null"}));

    // A flip-book without pages binds nothing; a stage offset turns the stage's transform on once.
    g3dUVATexture flipBook;
    g3dMaterial odd;
    odd.AddTextureStage(&flipBook, 0);
    odd.SetStageOffset({0.5f, 0.0f}, 0);
    g3dFragment* third = Make(2, {&odd}, {});
    Mark();
    Draw(*third);
    Draw(*third);
    m_forced = true;
    Draw(*third);
    EXPECT_EQ(Since({"SetTexture ", "SetTextureStageState 0 24", "SetTransform"}),
              (std::vector<std::string>{"SetTexture 0 null", "SetTextureStageState 0 24 2", "SetTransform 16",
                                        "SetTexture 0 null", "SetTransform 16"}));
}

TEST_F(g3dRendererDrawTest, ASharedMaterialIsSentOnceAndDistinctOnesEachTime) {
    m_a.AddTextureStage(Texture(64), 0);
    std::vector<g3dMaterial> copies(1000, m_a);
    std::vector<g3dFragment*> fragments;
    for (int i = 0; i < 1000; ++i)
        fragments.push_back(Make(1, {&m_a}, {}));
    for (const bool shared : {true, false}) {
        m_last = nullptr;
        Mark();
        Device().BeginScene();
        for (size_t i = 0; i < fragments.size(); ++i) {
            fragments[i]->SetMaterial(shared ? &m_a : &copies[i], 0);
            g3dRendererPAC::DrawFragment(*fragments[i], m_last, m_forced);
        }
        Device().EndScene();
        EXPECT_EQ(Since({"SetMaterial"}).size(), shared ? 1u : 1000u);
    }
}

TEST_F(g3dRendererDrawTest, AnimatedMaterialsAreSentAnimatedAndStayStored) {
    auto diffuse = std::make_unique<an2StateAnimation<g3dARGBColor>>();
    diffuse->SetStates({0.25f, 0.5f, 0.75f, 1.0f}, {0.25f, 0.5f, 0.75f, 1.0f});
    m_a.AddAnimation(
        std::make_unique<g3dMaterialAnimation>(std::move(diffuse), g3dMaterialChannel::Diffuse, 0.0f));
    g3dFragment* fragment = Make(2, {&m_a, &m_b}, {1});
    Mark();
    Draw(*fragment);
    EXPECT_EQ(Since({"SetMaterial"}),
              (std::vector<std::string>{"SetMaterial 0.25 0.5 0.75 1 0", "SetMaterial 1 1 1 1 0"}));
    EXPECT_EQ(m_a.GetDiffuse().r, 1.0f);
}

namespace {

// A card of two texture units.
class g3dRendererTwoUnitTest : public g3dRendererDrawTest {
  protected:
    void SetUp() override {
        plD3dCaps caps;
        caps.devCaps = plD3dDevCaps::HwTransformAndLight;
        caps.rasterCaps = plD3dRasterCaps::FogTable | plD3dRasterCaps::WFog;
        caps.maxTextureWidth = caps.maxTextureHeight = 2048;
        caps.maxTextureBlendStages = 3;
        caps.maxSimultaneousTextures = 2;
        m_d3d.SetCaps(caps);
        g3dRendererDrawTest::SetUp();
    }
};

} // namespace

TEST_F(g3dRendererTwoUnitTest, TooManyStagesDrawOnePassEach) {
    g3dMaterial four;
    for (i32 size : {1, 2, 4, 8})
        four.AddTextureStage(Texture(size), 0);
    g3dFragment* fragment = Make(2, {&four}, {});
    Mark();
    Draw(*fragment);
    EXPECT_EQ(Since({"SetTexture ", "DrawIndexedPrimitive"}),
              (std::vector<std::string>{"SetTexture 0 1x1", "DrawIndexedPrimitive 4 0 4 0 2",
                                        "SetTexture 0 2x2", "DrawIndexedPrimitive 4 0 4 0 2",
                                        "SetTexture 0 4x4", "DrawIndexedPrimitive 4 0 4 0 2",
                                        "SetTexture 0 8x8", "DrawIndexedPrimitive 4 0 4 0 2"}));
    EXPECT_TRUE(m_forced);
    EXPECT_EQ(Since({"SetRenderState 19", "SetRenderState 20", "SetRenderState 27"}),
              std::vector<std::string>{});
}
