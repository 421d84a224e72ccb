#include "g3dRendererFixture.h"

#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"

namespace {

// One alpha-blended world list with depth.
class g3dRendererSortTest : public g3dRendererFixture {
  protected:
    g3dRendererSortTest() { m_lists = {{0, 2, 0, false}}; }

    // 'O' opaque and 'T' transparent models of a quad, 'E' a root without fragment, 'N' no tree,
    // 'S' a sprite group; each at the point given.
    void Add(g3dRenderListEntry& entry, char kind, const maVector3d& at) {
        g3dSortItem& item = entry.sortItems.emplace_back();
        if (kind == 'S') {
            item.spriteGroup = new g3dSpriteGroupModel;
            item.model.reset(item.spriteGroup);
            item.spriteGroup->SetPosition(at);
            return;
        }
        item.dynamicModel = new g3dDynamicModel;
        item.model.reset(item.dynamicModel);
        if (kind == 'N')
            return;
        auto root =
            std::make_unique<g3dHFragment>(kind == 'E' ? nullptr : Quad(kind == 'T' ? &m_clear : &m_solid));
        root->GetLocalMatrix().SetTranslation(at.x, at.y, at.z);
        item.dynamicModel->SetNode(std::move(root));
    }
    // A shown sprite group of count sprites in list 0.
    g3dSpriteGroupModel* Group(u32 count, const maVector3d& at, g3dTexture* texture = nullptr) {
        g3dSpriteGroupModel* group = g3dRenderer::AddSpriteGroup(0);
        group->SetPosition(at);
        group->SetVisible(true);
        if (texture)
            group->GetMaterial().AddTextureStage(texture, 0);
        auto& sprites = m_sprites.emplace_back(count);
        for (u32 i = 0; i + 1 < count; ++i)
            sprites[i].next = &sprites[i + 1];
        group->SetFirstSprite(sprites.data());
        return group;
    }

    g3dMaterial m_solid, m_clear;
    std::vector<std::vector<g3dSprite>> m_sprites;
};

} // namespace

TEST_F(g3dRendererSortTest, OpaqueFirstThenTransparentFarToNear) {
    m_clear.SetDiffuse({1, 1, 1, 0.5f});
    const struct {
        u32 depthMode, transformMode;
        maVector3d eye, direction;
        std::vector<std::pair<char, maVector3d>> items;
        std::vector<size_t> order;
    } cases[] = {
        // Opaque without tree, opaque, then keys 20, 15, 10 along the view.
        {0,
         2,
         {},
         {0, 0, 1},
         {{'T', {0, 0, 10}}, {'T', {0, 0, 20}}, {'O', {0, 0, 5}}, {'S', {0, 0, 15}}, {'N', {}}},
         {4, 2, 1, 3, 0}},
        // Looking back from z 30 the nearer point is the farther one.
        {0, 2, {0, 0, 30}, {0, 0, -1}, {{'T', {0, 0, 10}}, {'T', {0, 0, 20}}}, {0, 1}},
        {0, 0, {}, {0, 0, 1}, {{'T', {0, 0, 20}}, {'T', {9, 9, -30}}}, {1, 0}}, // z squared
        {0, 1, {}, {0, 0, 1}, {{'T', {0, 0, 5}}, {'T', {4, 4, 0}}}, {1, 0}},    // squared distance
        // Without depth every item is transparent.
        {1, 2, {}, {0, 0, 1}, {{'O', {0, 0, 10}}, {'O', {0, 0, 20}}, {'E', {0, 0, 15}}}, {1, 2, 0}},
        // Equal keys keep their order; a root without fragment comes before one with a fragment.
        {0, 2, {}, {0, 0, 1}, {{'T', {1, 0, 10}}, {'T', {-1, 0, 10}}, {'O', {}}, {'E', {}}}, {3, 2, 0, 1}},
    };
    for (const auto& c : cases) {
        g3dRenderListEntry entry;
        entry.config = {c.depthMode, c.transformMode, 0, false};
        std::vector<const g3dModel*> added, expected, sorted;
        for (const auto& [kind, at] : c.items) {
            Add(entry, kind, at);
            added.push_back(entry.sortItems.back().model.get());
        }
        g3dSortRenderList(entry, c.eye, c.direction);
        for (size_t index : c.order)
            expected.push_back(added[index]);
        for (const g3dSortItem& item : entry.sortItems)
            sorted.push_back(item.model.get());
        EXPECT_EQ(sorted, expected) << c.depthMode << " " << c.transformMode << " " << c.items.size();
    }
}

TEST_F(g3dRendererSortTest, DepthWritesGoOffAtTheFirstTransparentItem) {
    g3dHFragment solid(Quad(&m_solid));
    for (int i = 0; i < 3; ++i)
        g3dRenderer::AddNode(solid, 0)->SetVisible(true);
    // Render states 14 depth writes, 27 blending.
    const std::vector<std::string> states = {"SetRenderState 14 ", "SetRenderState 27 "};
    EXPECT_EQ(Frame(states), (std::vector<std::string>{"SetRenderState 27 0", "SetRenderState 14 1",
                                                       "SetRenderState 14 1"}));
    Group(1, {0, 0, 5});
    EXPECT_EQ(Frame(states),
              (std::vector<std::string>{"SetRenderState 27 0", "SetRenderState 14 1", "SetRenderState 14 0",
                                        "SetRenderState 27 1", "SetRenderState 14 1"}));
}

TEST_F(g3dRendererSortTest, SpritesStreamThroughTheBufferOneFanEach) {
    // 24 sprites leave the write position at 96.
    g3dSpriteGroupModel* filler = Group(24, {});
    Frame({});
    g3dRenderer::RemoveModel(filler);
    g3dSpriteGroupModel* group = Group(30, {});
    group->GetMaterial().SetDiffuse({1, 0, 0, 1});
    m_sprites[1][0].alpha = 0.5f;
    const std::vector<std::string> calls = Frame({"Lock", "DrawPrimitive ", "SetMaterial"});
    EXPECT_EQ(
        std::vector<std::string>(calls.begin(), calls.begin() + 6),
        (std::vector<std::string>{"Lock 3072 128 1000", "SetMaterial 1 0 0 0.5 0", "DrawPrimitive 6 96 2",
                                  "Lock 0 128 2000", "DrawPrimitive 6 0 2", "Lock 128 128 1000"}));
    EXPECT_EQ(calls.size(), 61u);
    EXPECT_EQ(group->GetMaterial().GetDiffuse().a, 1.0f);
    EXPECT_EQ(g3dRendererPAC::GetTriangleCount(), 60u);

    // A hidden group draws nothing; nor does any group between a loss and the reset, without a buffer.
    group->SetVisible(false);
    EXPECT_EQ(Frame({"DrawPrimitive "}).size(), 0u);
    group->SetVisible(true);
    g2dBroadcastDeviceLost();
    EXPECT_EQ(Frame({"Lock", "DrawPrimitive "}).size(), 0u);
    g2dBroadcastDeviceReset();
    EXPECT_EQ(Frame({"DrawPrimitive "}).size(), 30u);
}

TEST_F(g3dRendererSortTest, AnAdditiveGroupRestoresTheBlendFactors) {
    Group(1, {0, 0, 30});
    Group(1, {0, 0, 20})->SetNormalBlending(false);
    Group(1, {0, 0, 10});
    EXPECT_EQ(Frame({"SetRenderState 19 ", "SetRenderState 20 "}),
              (std::vector<std::string>{"SetRenderState 19 5", "SetRenderState 20 2", "SetRenderState 19 5",
                                        "SetRenderState 20 6"}));
}

TEST_F(g3dRendererSortTest, FlipBookSpritesBindTheirFramesPages) {
    // Pages of one cell; the sprites show frames 0, 0 and 1 between two groups of a plain texture,
    // which is bound again after the pages.
    g3dUVATexture flipBook, empty;
    flipBook.AddPage(Texture(8));
    flipBook.AddPage(Texture(16));
    flipBook.SetFrameCount(2);
    g3dTexture* plain = Texture(4);
    Group(1, {0, 0, 30}, plain);
    g3dSpriteGroupModel* animated = Group(3, {0, 0, 20}, &flipBook);
    m_sprites.back()[0].frame = m_sprites.back()[1].frame = 0;
    m_sprites.back()[2].frame = 1;
    Group(1, {0, 0, 10}, plain);
    // 24: the texture transform, 2 on and 0 off.
    const std::vector<std::string> calls = {"SetTexture 0 ", "SetTextureStageState 0 24 ", "DrawPrimitive "};
    EXPECT_EQ(Frame(calls), (std::vector<std::string>{
                                "SetTexture 0 4x4", "DrawPrimitive 6 0 2", "SetTextureStageState 0 24 2",
                                "SetTexture 0 8x8", "DrawPrimitive 6 4 2", "DrawPrimitive 6 8 2",
                                "SetTexture 0 16x16", "DrawPrimitive 6 12 2", "SetTextureStageState 0 24 0",
                                "SetTexture 0 4x4", "DrawPrimitive 6 16 2", "SetTexture 0 null"}));

    // A flip-book without pages binds no texture, once, and still draws.
    animated->GetMaterial() = g3dMaterial();
    animated->GetMaterial().AddTextureStage(&empty, 0);
    const std::vector<std::string> drawn = Frame(calls);
    EXPECT_EQ(
        std::vector<std::string>(drawn.begin() + 2, drawn.begin() + 7),
        (std::vector<std::string>{"SetTextureStageState 0 24 2", "SetTexture 0 null", "DrawPrimitive 6 24 2",
                                  "DrawPrimitive 6 28 2", "DrawPrimitive 6 32 2"}));
}

TEST_F(g3dRendererSortTest, AGroupWithoutTextureLeavesNoStaleSpriteTextureBehind) {
    g3dTexture* plain = Texture(4);
    Group(1, {0, 0, 30}, plain);
    Group(1, {0, 0, 20});
    Group(1, {0, 0, 10}, plain);
    const std::vector<std::string> calls = {"SetTexture 0 ", "DrawPrimitive "};
    EXPECT_EQ(Frame(calls),
              (std::vector<std::string>{"SetTexture 0 4x4", "DrawPrimitive 6 0 2", "SetTexture 0 null",
                                        "DrawPrimitive 6 4 2", "SetTexture 0 4x4", "DrawPrimitive 6 8 2",
                                        "SetTexture 0 null"}));
}
