#include "g3dRendererFixture.h"

#include "Engine/App/App/appEventHandler.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/G3d/private/g3dRendererState.h"
#include "Engine/Platform/Graphics/plD3dBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace {

const std::string kDraw = "DrawIndexedPrimitive";

// Worlds 0 to 2 with depth and fog, an additive screen pass, a screen overlay without depth.
class g3dRendererFrameTest : public g3dRendererFixture {
  protected:
    g3dRendererFrameTest() {
        m_lists = {{0, 2, 0, true}, {0, 2, 0, true}, {0, 2, 0, true}, {0, 0, 1, false}, {1, 0, 0, false}};
    }
    g3dMaterial m_material;
};

} // namespace

TEST_F(g3dRendererFrameTest, AnEmptyTableClearsDepthAndResetsTheStages) {
    g3dRenderer::Shutdown();
    g3dRenderer::Initialize({});
    g3dRenderer::InitStates();
    std::vector<std::string> expected = {"Clear 2 00000000", "BeginScene", "EndScene",
                                         "SetTextureStageState 0 1 1", "SetTextureStageState 0 4 1"};
    for (int stage = 0; stage < 8; ++stage)
        expected.push_back("SetTexture " + std::to_string(stage) + " null");
    expected.push_back("SetStreamSource 0 0");
    EXPECT_EQ(Frame({""}), expected);

    g2dScreen::SetShowFps(true);
    appDispatchChar(u'`');
    g2dScreen::EndFrame();
    EXPECT_NE(std::find(m_text.drawn.begin(), m_text.drawn.end(), "10 45 tris: 0"), m_text.drawn.end());
}

TEST_F(g3dRendererFrameTest, LightsAreSentBeforeTheFrameAndOnlyWhenChanged) {
    g3dLightManager::Initialize();
    g3dLightManager::CreateDirectionalLight()->SetEnabled();
    const std::vector<std::string> calls = {"SetLight", "LightEnable", "Clear"};
    EXPECT_EQ(Frame(calls),
              (std::vector<std::string>{"SetLight 0 3 1e+06", "LightEnable 0 1", "Clear 2 00000000"}));
    EXPECT_EQ(Frame(calls), std::vector<std::string>{"Clear 2 00000000"});
    g3dLightManager::Shutdown();
}

TEST_F(g3dRendererFrameTest, HiddenModelsCostNothingAndShowAgain) {
    g3dFragment* quad = Quad(&m_material);
    g3dHFragment tree(quad);
    g3dModel* const models[] = {g3dRenderer::AddStaticModel(quad, 0),
                                g3dRenderer::AddPlacedStaticModel(quad, maMatrix4d(), 1),
                                g3dRenderer::AddNode(tree, 2)};
    EXPECT_EQ(Frame({kDraw}).size(), 0u);
    EXPECT_THROW(g3dRenderer::AddStaticModel(quad, 5), std::out_of_range);
    for (g3dModel* model : models)
        model->SetVisible(true);
    EXPECT_EQ(Frame({kDraw}).size(), 3u);
    EXPECT_EQ(g3dRendererPAC::GetTriangleCount(), 6u);

    // A model of no list is neither taken out of one nor deleted; a removed one is gone for good.
    g3dWorldStaticModel stranger(quad);
    g3dRenderer::RemoveModel(&stranger);
    EXPECT_EQ(Frame({kDraw}).size(), 3u);
    for (g3dModel* model : models) {
        g3dRenderer::RemoveModel(model);
        g3dRenderer::RemoveModel(model);
    }
    EXPECT_EQ(Frame({kDraw}).size(), 0u);
}

TEST_F(g3dRendererFrameTest, StaticModelsDrawFromTheHighestAddressDown) {
    g3dMaterial red;
    red.SetDiffuse({1, 0, 0, 1});
    g3dModel* white = g3dRenderer::AddStaticModel(Quad(&m_material), 0);
    g3dModel* other = g3dRenderer::AddStaticModel(Quad(&red), 0);
    white->SetVisible(true);
    other->SetVisible(true);
    std::vector<std::string> order = {"SetMaterial 1 1 1 1 0", "SetMaterial 1 0 0 1 0"};
    if (std::greater<const g3dModel*>()(other, white))
        std::swap(order[0], order[1]);
    EXPECT_EQ(Frame({"SetMaterial"}), order);
    EXPECT_EQ(Frame({"SetMaterial"}), order);
}

TEST_F(g3dRendererFrameTest, TheOverlayListDrawsLastWithoutDepthOrFog) {
    g3dFragment* quad = Quad(&m_material);
    g3dRenderer::AddStaticModel(quad, 4)->SetVisible(true);
    g3dRenderer::AddStaticModel(quad, 0)->SetVisible(true);
    g3dRenderer::SetFogMode(3);
    // Render states 7 depth test, 14 depth writes, 28 fog.
    const std::vector<std::string> calls =
        Frame({"SetRenderState 7 ", "SetRenderState 14 ", "SetRenderState 28 ", kDraw});
    EXPECT_EQ(calls[2], "SetRenderState 28 1");
    EXPECT_EQ(std::vector<std::string>(calls.end() - 5, calls.end()),
              (std::vector<std::string>{"SetRenderState 14 0", "SetRenderState 7 0", "SetRenderState 28 0",
                                        "DrawIndexedPrimitive 4 0 4 0 2", "SetRenderState 14 1"}));
}

// Each batched draw's triangles, read back through the batch buffers as the device would, must be the
// visible fragments' triangles of one material, a placed model's brought into world space with its
// normals turned; a batch stops short of 65,536 vertices. The lists' order follows addresses, so draws
// and their triangles are compared sorted.
TEST_F(g3dRendererFrameTest, StaticModelsSharingAMaterialDrawAsOne) {
    g3dMaterial other;
    other.SetDiffuse({1, 0, 0, 1});
    // Fragment k's vertex i stands at (k, i, 0), its normal the same; `span` vertices, all reached. A
    // seventh index is a partial triangle, which draws nothing.
    const auto make = [&](f32 k, u16 span, std::vector<g3dMaterial*> materials, u32 indexCount = 6) {
        std::vector<maVector3d> points(span);
        for (u16 i = 0; i < span; ++i)
            points[i] = {k, static_cast<f32>(i), 0};
        const u16 last = static_cast<u16>(span - 1);
        const u16 indices[7] = {0, 1, last, last, 1, 0, 1};
        const u32 starts[1] = {1};
        return Keep(g3dFragmentManager::CreateFragmentPNT(points.data(), points.data(), span, indices,
                                                          indexCount, materials.data(), starts,
                                                          static_cast<u32>(materials.size()), false));
    };
    // Twice the size, 10 along x: a vertex (k, i) lands at (2k + 10, 2i), its normal at (k, i) / 2.
    const maMatrix4d placement(2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 10, 0, 0, 1);
    struct Model {
        g3dFragment* fragment;
        bool visible;
        bool placed;
    };
    struct Row {
        std::vector<Model> models;
        std::vector<std::vector<f32>> draws; // per draw, the fragment of each triangle
    };
    g3dFragment* twoMaterials = make(1, 4, {&m_material, &other});
    g3dFragment* quad = make(2, 4, {&m_material});
    const Row rows[] = {
        {{{twoMaterials, true, false}, {quad, true, false}}, {{1}, {1, 2, 2}}},
        {{{twoMaterials, true, false}, {quad, false, false}}, {{1}, {1}}},
        {{{twoMaterials, true, true}, {quad, true, false}, {quad, true, true}}, {{1}, {1, 2, 2, 2, 2}}},
        {std::vector<Model>(17, {make(3, 4000, {&m_material}), true, false}),
         {{3, 3}, std::vector<f32>(32, 3)}},
        {{{make(5, 4, {&m_material}, 7), true, false}, {make(6, 4, {&m_material}, 7), true, true}},
         {{5, 5, 6, 6}}},
    };
    for (const Row& row : rows) {
        std::vector<g3dModel*> added;
        for (const Model& model : row.models) {
            if (model.placed)
                added.push_back(g3dRenderer::AddPlacedStaticModel(model.fragment, placement, 0));
            else
                added.push_back(g3dRenderer::AddStaticModel(model.fragment, 0));
            added.back()->SetVisible(model.visible);
        }
        const std::vector<std::string> calls = Frame({"SetIndices", kDraw});
        const g3dRendererState& state = g3dGetRendererState();
        std::vector<std::vector<f32>> drawn;
        u32 base = 0;
        for (const std::string& call : calls) {
            u32 type = 0, minIndex = 0, count = 0, start = 0, triangles = 0;
            if (std::sscanf(call.c_str(), "SetIndices %u", &base) == 1 ||
                std::sscanf(call.c_str(), "DrawIndexedPrimitive %u %u %u %u %u", &type, &minIndex, &count,
                            &start, &triangles) != 5)
                continue;
            drawn.emplace_back();
            const auto* indices = reinterpret_cast<const u16*>(state.batchIndices->Data()) + start;
            for (u32 t = 0; t < triangles; ++t) {
                f32 fragment[3];
                for (u32 corner = 0; corner < 3; ++corner) {
                    ASSERT_LT(indices[3 * t + corner], count);
                    maVector3d vertex[2]; // position, normal
                    std::memcpy(vertex, state.batchVertices->Data() + (base + indices[3 * t + corner]) * 32u,
                                sizeof vertex);
                    const bool placed = vertex[0].x >= 10.0f;
                    const maVector3d expected =
                        placed ? maVector3d((vertex[0].x - 10) / 4, vertex[0].y / 4, 0) : vertex[0];
                    EXPECT_TRUE(vertex[1].x == expected.x && vertex[1].y == expected.y && vertex[1].z == 0);
                    fragment[corner] = placed ? (vertex[0].x - 10) / 2 : vertex[0].x;
                }
                EXPECT_TRUE(fragment[0] == fragment[1] && fragment[1] == fragment[2]);
                drawn.back().push_back(fragment[0]);
            }
        }
        for (std::vector<f32>& draw : drawn)
            std::sort(draw.begin(), draw.end());
        std::sort(drawn.begin(), drawn.end());
        EXPECT_EQ(drawn, row.draws);
        for (g3dModel* model : added)
            g3dRenderer::RemoveModel(model);
    }
    // A fragment too big to be worth copying each frame draws from its own buffers.
    g3dRenderer::AddStaticModel(make(4, 5000, {&m_material}), 0)->SetVisible(true);
    const u32 ringBefore = g3dGetRendererState().batchIndexPosition;
    EXPECT_EQ(Frame({kDraw}), std::vector<std::string>{"DrawIndexedPrimitive 4 0 5000 0 2"});
    EXPECT_EQ(g3dGetRendererState().batchIndexPosition, ringBefore);
}

// A frame between a loss and the reset must make no device buffer, or the reset would find it held.
TEST_F(g3dRendererFrameTest, AFrameBetweenALossAndTheResetLeavesTheDeviceFree) {
    g3dRenderer::AddStaticModel(Quad(&m_material), 0)->SetVisible(true);
    g2dBroadcastDeviceLost();
    EXPECT_EQ(Frame({kDraw}).size(), 0u);
    EXPECT_EQ(g_pdevice->GetLiveResourceCount(plD3dPool::Default), 0u);
    g2dBroadcastDeviceReset();
    EXPECT_EQ(Frame({kDraw}).size(), 1u);
}

TEST_F(g3dRendererFrameTest, BlendFactorsAreSentOnlyWhenAPassChangesThem) {
    // Lists 0 to 2 blend, 3 adds, 4 blends again: two switches a frame, none between passes of one mode.
    // 19 source, 20 destination; 2 one, 5 source alpha, 6 its inverse.
    for (int frame = 0; frame < 2; ++frame)
        EXPECT_EQ(Frame({"SetRenderState 19 ", "SetRenderState 20 "}),
                  (std::vector<std::string>{"SetRenderState 19 5", "SetRenderState 20 2",
                                            "SetRenderState 19 5", "SetRenderState 20 6"}));
}

TEST_F(g3dRendererFrameTest, ProjectToScreenStaysFiniteAtTheEyesDepth) {
    // w is the view depth; the eye stands at z -2 and the screen is 64 x 48.
    g3dRenderer::SetProjectionMatrix(maMatrix4d(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, -1, 0));
    maMatrix4d view;
    view.SetTranslation(0, 0, 2);
    g3dRenderer::SetViewMatrix(view);
    const struct {
        maVector3d point;
        f32 x, y, w;
    } cases[] = {{{2, 1, 0}, 0, 12, 0.5f}, {{1, 1, -2}, 0, 0, 1.0f}}; // mirrored in x; at the eye's depth
    for (const auto& c : cases) {
        f32 out[4];
        g3dRenderer::ProjectToScreen(c.point, out);
        EXPECT_EQ(std::vector<f32>(out, out + 4), (std::vector<f32>{c.x, c.y, out[2], c.w}));
        EXPECT_TRUE(std::isfinite(out[2]));
    }
}

TEST_F(g3dRendererFrameTest, RenderToTextureDrawsTheTreesUntexturedAndComesBack) {
    g3dHFragment root(Quad(&m_material));
    root.AddChild(std::make_unique<g3dHFragment>(Quad(&m_material)));
    g3dDynamicModel model;
    model.SetNode(root.CloneTree());
    g3dMaterial shadow;
    shadow.SetDiffuse({0, 0, 0, 1});
    auto* target = static_cast<g3dRenderTargetTexture*>(Texture(32));
    const std::vector<std::string> calls = {"SetRenderTarget", "Clear",        "BeginScene",
                                            "SetMaterial",     "SetTexture 0", "DrawIndexedPrimitive",
                                            "EndScene"};
    const std::vector<std::string> one = {"SetTexture 0 null", "DrawIndexedPrimitive 4 0 4 0 2"};
    for (const g3dMaterial* material : std::vector<const g3dMaterial*>{&shadow, nullptr}) {
        std::vector<std::string> expected = {"SetRenderTarget 32x32 1", "Clear 3 00ffffff", "BeginScene"};
        for (int node = 0; node < 2; ++node) {
            if (material)
                expected.push_back("SetMaterial 0 0 0 1 0");
            expected.insert(expected.end(), one.begin(), one.end());
        }
        expected.insert(expected.end(), {"EndScene", "SetRenderTarget back 1"});
        Mark();
        g3dRenderer::RenderToTexture(*target, {nullptr, &model}, material);
        EXPECT_EQ(Since(calls), expected);
    }
}
