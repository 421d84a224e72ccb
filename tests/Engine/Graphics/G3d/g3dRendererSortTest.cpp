#include "g3dRendererFixture.h"

#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"

#include <algorithm>

namespace {

class g3dRendererSortTest : public g3dRendererFixture {
  protected:
    // One list of alpha blending whose depth mode the test chooses.
    g3dRendererSortTest() { m_lists = {{0, 2, 0, false}}; }

    g3dFragment* Quad(g3dMaterial* material) {
        const std::vector<maVector3d> positions(4, maVector3d(0, 0, 0)), normals(4, maVector3d(0, 1, 0));
        const u16 indices[6] = {0, 1, 2, 2, 1, 3};
        return Keep(g3dFragmentManager::CreateFragmentPNT(positions.data(), normals.data(), 4, indices, 6,
                                                          &material, nullptr, 1, false));
    }
    // 'O' opaque and 'T' transparent models of one quad, 'E' a root without fragment, 'N' no tree,
    // 'S' a sprite group; each at the point given.
    void Add(g3dRenderListEntry& entry, char kind, const maVector3d& at, g3dMaterial* material = nullptr) {
        g3dSortItem item;
        if (kind == 'S') {
            auto group = std::make_unique<g3dSpriteGroupModel>();
            group->SetPosition(at);
            item.spriteGroup = group.get();
            item.model = std::move(group);
        } else {
            auto model = std::make_unique<g3dDynamicModel>();
            if (kind != 'N') {
                auto root = std::make_unique<g3dHFragment>(kind == 'E' ? nullptr
                                                                       : Quad(material      ? material
                                                                              : kind == 'T' ? &m_clear
                                                                                            : &m_solid));
                root->GetLocalMatrix().SetTranslation(at.x, at.y, at.z);
                model->SetNode(std::move(root));
            }
            item.dynamicModel = model.get();
            item.model = std::move(model);
        }
        entry.sortItems.push_back(std::move(item));
    }
    static std::vector<const g3dModel*> Order(const g3dRenderListEntry& entry) {
        std::vector<const g3dModel*> order;
        for (const g3dSortItem& item : entry.sortItems)
            order.push_back(item.model.get());
        return order;
    }
    // A sprite group of count sprites in list 0, shown.
    g3dSpriteGroupModel* Group(u32 count, const maVector3d& at) {
        g3dSpriteGroupModel* group = g3dRenderer::AddSpriteGroup(0);
        group->SetPosition(at);
        group->SetVisible(true);
        auto& sprites = m_sprites.emplace_back(count);
        for (u32 i = 0; i + 1 < count; ++i)
            sprites[i].next = &sprites[i + 1];
        group->SetFirstSprite(count ? sprites.data() : nullptr);
        return group;
    }
    std::vector<std::string> Frame(const std::vector<std::string>& prefixes) {
        Mark();
        g3dRenderer::RenderFrame(0.0f);
        return Since(prefixes);
    }

    g3dMaterial m_solid, m_clear;
    std::vector<std::vector<g3dSprite>> m_sprites;
};

} // namespace

TEST_F(g3dRendererSortTest, OpaqueFirstThenTransparentFarToNear) {
    m_clear.SetDiffuse({1, 1, 1, 0.5f});
    struct Item {
        char kind;
        maVector3d at;
    };
    const struct {
        u32 depthMode, transformMode;
        maVector3d eye, direction;
        std::vector<Item> items;
        std::vector<int> order;
    } cases[] = {
        // Keys along the view: opaque without tree, then opaque, then 20, 15, 10.
        {0,
         2,
         {0, 0, 0},
         {0, 0, 1},
         {{'T', {0, 0, 10}}, {'T', {0, 0, 20}}, {'O', {0, 0, 5}}, {'S', {0, 0, 15}}, {'N', {}}},
         {4, 2, 1, 3, 0}},
        // Looking back from z 30 the nearer point is the farther one.
        {0, 2, {0, 0, 30}, {0, 0, -1}, {{'T', {0, 0, 10}}, {'T', {0, 0, 20}}}, {0, 1}},
        {0, 0, {0, 0, 0}, {0, 0, 1}, {{'T', {0, 0, 20}}, {'T', {9, 9, -30}}}, {1, 0}},
        {0, 1, {0, 0, 0}, {0, 0, 1}, {{'T', {0, 0, 5}}, {'T', {4, 4, 0}}}, {1, 0}},
        // Without depth every item is transparent and drawn far to near.
        {1, 2, {0, 0, 0}, {0, 0, 1}, {{'O', {0, 0, 10}}, {'O', {0, 0, 20}}, {'E', {0, 0, 15}}}, {1, 2, 0}},
        // Equal keys keep their order; opaque roots without fragment come before those with one.
        {0,
         2,
         {0, 0, 0},
         {0, 0, 1},
         {{'T', {1, 0, 10}}, {'T', {-1, 0, 10}}, {'O', {}}, {'E', {}}},
         {3, 2, 0, 1}},
    };
    for (const auto& c : cases) {
        g3dRenderListEntry entry;
        entry.config = {c.depthMode, c.transformMode, 0, false};
        for (const Item& item : c.items)
            Add(entry, item.kind, item.at);
        const std::vector<const g3dModel*> added = Order(entry);
        g3dSortRenderList(entry, c.eye, c.direction);
        std::vector<const g3dModel*> expected;
        for (int index : c.order)
            expected.push_back(added[static_cast<size_t>(index)]);
        EXPECT_EQ(Order(entry), expected) << c.depthMode << " " << c.transformMode << " " << c.items.size();
    }

    // Opaque models sharing a material end up side by side.
    g3dMaterial other;
    g3dRenderListEntry entry;
    for (g3dMaterial* material : {&m_solid, &other, &m_solid, &other})
        Add(entry, 'O', {}, material);
    g3dSortRenderList(entry, {}, {0, 0, 1});
    std::vector<const g3dMaterial*> materials;
    for (const g3dSortItem& item : entry.sortItems)
        materials.push_back(
            static_cast<g3dHFragment*>(item.dynamicModel->GetNode())->GetFragment()->GetMaterial(0));
    EXPECT_EQ(materials[0], materials[1]);
    EXPECT_EQ(materials[2], materials[3]);
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
    m_solid.SetDiffuse({1, 0, 0, 1});
    g3dSpriteGroupModel* filler = Group(24, {0, 0, 1});
    Frame({});
    g3dRenderer::RemoveModel(filler);
    g3dSpriteGroupModel* group = Group(30, {0, 0, 1});
    group->GetMaterial() = m_solid;
    m_sprites.back()[0].alpha = 0.5f;
    const std::vector<std::string> calls = Frame({"Lock", "DrawPrimitive ", "SetMaterial"});
    ASSERT_EQ(calls.size(), 61u);
    EXPECT_EQ(
        std::vector<std::string>(calls.begin(), calls.begin() + 6),
        (std::vector<std::string>{"Lock 3072 128 1000", "SetMaterial 1 0 0 0.5 0", "DrawPrimitive 6 96 2",
                                  "Lock 0 128 2000", "DrawPrimitive 6 0 2", "Lock 128 128 1000"}));
    EXPECT_EQ(group->GetMaterial().GetDiffuse().a, 1.0f);
    EXPECT_EQ(g3dRendererPAC::GetTriangleCount(), 60u);

    // A hidden group keeps its place and draws nothing.
    group->SetVisible(false);
    EXPECT_EQ(Frame({"DrawPrimitive "}).size(), 0u);
    group->SetVisible(true);

    // Between a loss and the reset there is no buffer to lock: sprite groups wait.
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
    u32 destination = 0;
    Device().GetRenderState(plD3dRs::DestBlend, &destination);
    EXPECT_EQ(destination, plD3dBlend::InvSrcAlpha);
}

TEST_F(g3dRendererSortTest, FlipBookSpritesBindTheirFramesPages) {
    // Two pages of one cell; the sprites show frames 0, 0 and 1, then a plain group follows.
    g3dUVATexture flipBook;
    flipBook.AddPage(Texture(8));
    flipBook.AddPage(Texture(16));
    flipBook.SetFrameCount(2);
    g3dSpriteGroupModel* animated = Group(3, {0, 0, 20});
    animated->GetMaterial().AddTextureStage(&flipBook, 0);
    m_sprites.back()[0].frame = m_sprites.back()[1].frame = 0;
    m_sprites.back()[2].frame = 1;
    g3dSpriteGroupModel* plain = Group(1, {0, 0, 10});
    plain->GetMaterial().AddTextureStage(Texture(4), 0);
    g3dSpriteGroupModel* before = Group(1, {0, 0, 30});
    before->GetMaterial().AddTextureStage(m_textures.back(), 0);
    // 24 0 texture transform flags: 2 on, 0 off.
    EXPECT_EQ(
        Frame({"SetTexture 0 ", "SetTextureStageState 0 24 ", "DrawPrimitive "}),
        (std::vector<std::string>{"SetTexture 0 4x4", "DrawPrimitive 6 0 2", "SetTextureStageState 0 24 2",
                                  "SetTexture 0 8x8", "DrawPrimitive 6 4 2", "DrawPrimitive 6 8 2",
                                  "SetTexture 0 16x16", "DrawPrimitive 6 12 2", "SetTextureStageState 0 24 0",
                                  "SetTexture 0 4x4", "DrawPrimitive 6 16 2", "SetTexture 0 null"}));

    // A flip-book without pages binds no texture and still draws.
    g3dUVATexture empty;
    g3dRenderer::RemoveModel(plain);
    g3dRenderer::RemoveModel(before);
    animated->GetMaterial() = g3dMaterial();
    animated->GetMaterial().AddTextureStage(&empty, 0);
    EXPECT_EQ(Frame({"SetTexture 0 ", "DrawPrimitive "}),
              (std::vector<std::string>{"SetTexture 0 null", "DrawPrimitive 6 20 2", "DrawPrimitive 6 24 2",
                                        "DrawPrimitive 6 28 2", "SetTexture 0 null"}));
}
