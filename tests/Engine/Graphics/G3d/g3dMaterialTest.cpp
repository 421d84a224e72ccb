#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/An/an2StateAnimation.h"
#include "Engine/Graphics/An/anConstantAnimation.h"
#include "Engine/Graphics/G3d/g3dMaterialAnimation.h"
#include "Engine/Graphics/G3d/g3dTexture.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

std::vector<f32> Rows(const g3dMaterial& material, u32 stage) {
    maMatrix3d m;
    material.GetStageTransform(m, stage);
    return std::vector<f32>(m.m, m.m + 9);
}

std::unique_ptr<g3dMaterialAnimation> Scale(u32 channel, maVector2d from, maVector2d to) {
    auto animation = std::make_unique<an2StateAnimation<maVector2d>>();
    animation->SetStates(from, to);
    animation->SetDuration(2.0f);
    return std::make_unique<g3dMaterialAnimation>(std::move(animation), channel, 0.0f);
}

std::unique_ptr<g3dMaterialAnimation> Constant(u32 channel, f32 value, int* deleted = nullptr) {
    struct Counted : anConstantAnimation<float> {
        int* deleted = nullptr;
        ~Counted() override {
            if (deleted)
                ++*deleted;
        }
    };
    auto animation = std::make_unique<Counted>();
    animation->SetValue(value);
    animation->deleted = deleted;
    return std::make_unique<g3dMaterialAnimation>(std::move(animation), channel, 0.0f);
}

} // namespace

TEST(g3dMaterial, FlagsFollowDiffuseAlphaAndStages) {
    g3dMaterial material;
    EXPECT_EQ(material.GetAmbient().r, 1.0f);
    EXPECT_EQ(material.GetSpecular().a, 1.0f);
    EXPECT_EQ(material.GetEmissive().a, 0.0f);
    EXPECT_EQ(material.GetSpecularPower(), 1.0f);
    EXPECT_EQ(material.GetFlags(), 0);

    material.SetDiffuse({1, 1, 1, 0.5f});
    EXPECT_TRUE(material.IsTransparent());
    material.SetDiffuse({1, 1, 1, 1});
    EXPECT_FALSE(material.IsTransparent());
    material.SetSpecular({0, 0, 0, 0});
    EXPECT_TRUE(material.IsSpecularEnabled());
    material.SetSpecularEnable(false);
    EXPECT_FALSE(material.IsSpecularEnabled());
    EXPECT_EQ(material.GetSpecular().a, 0.0f);

    // One opaque stage makes the material opaque; a stage without texture is transparent in mode 1 only.
    material.AddTextureStage(nullptr, 1);
    EXPECT_TRUE(material.IsTransparent());
    material.AddTextureStage(nullptr, 0);
    EXPECT_FALSE(material.IsTransparent());
    material.SetStageOffset({0.5f, 0}, 1);
    material.RemoveTextureStage(1);
    EXPECT_TRUE(material.IsTransparent());
    material.AddTextureStage(nullptr, 1);
    EXPECT_TRUE(material.IsTransparent());
    // A texture with alpha bits is transparent in any mode.
    g3dPlainTexture withAlpha, without;
    g2dPixelFormat format;
    g2dGetPixelFormat(plD3dFormat::A4R4G4B4, format);
    withAlpha.SetPixelFormat(format);
    g2dGetPixelFormat(plD3dFormat::R5G6B5, format);
    without.SetPixelFormat(format);
    material.ClearTextureStages();
    material.AddTextureStage(&withAlpha, 0);
    material.AddTextureStage(&without, 1);
    EXPECT_TRUE(material.IsTransparent());
    material.AddTextureStage(&without, 0);
    EXPECT_FALSE(material.IsTransparent());
    // A translucent diffuse colour wins whatever the stages.
    material.ClearTextureStages();
    material.AddTextureStage(nullptr, 0);
    material.SetDiffuse({1, 1, 1, 0.25f});
    EXPECT_TRUE(material.IsTransparent());
}

TEST(g3dMaterial, StageTransformsStayTheIdentityUntilSet) {
    g3dMaterial material;
    material.AddTextureStage(nullptr, 0);
    material.AddTextureStage(nullptr, 0);
    const std::vector<f32> identity = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    EXPECT_EQ(Rows(material, 0), identity);
    material.SetStageScale({2, 3}, 0);
    material.SetStageScale({1, 1}, 0);
    EXPECT_EQ(Rows(material, 0), identity);
    material.SetStageOffset({0.25f, 0.5f}, 1);
    EXPECT_EQ(Rows(material, 1), (std::vector<f32>{1, 0, 0, 0, 1, 0, 0.25f, 0.5f, 1}));
    // A quarter turn with offset (1, 0): the last row's second element is + s x ox x sx.
    material.SetStageRotation(std::numbers::pi_v<f32> / 2, 0);
    material.SetStageOffset({1, 0}, 0);
    const std::vector<f32> turned = Rows(material, 0);
    EXPECT_NEAR(turned[6], 0.0f, 1e-6f);
    EXPECT_NEAR(turned[7], 1.0f, 1e-6f);
    EXPECT_EQ(turned[8], 1.0f);
    EXPECT_NEAR(turned[1], -1.0f, 1e-6f);
}

TEST(g3dMaterial, ChannelsChangeOnlyTheWorkingCopy) {
    g3dMaterial stored;
    stored.AddTextureStage(nullptr, 0);
    stored.AddTextureStage(nullptr, 0);
    EXPECT_EQ(stored.AddAnimation(Scale(10, {1, 1}, {3, 5})), 1u);
    stored.AddAnimation(Constant(0, 0.5f));        // a float on a colour channel: no view
    stored.AddAnimation(Scale(7, {9, 9}, {9, 9})); // stage 2 of two
    stored.AddAnimation(Constant(13, 0.75f));
    EXPECT_EQ(stored.GetAnimation(1).GetColorView(), nullptr);
    EXPECT_NE(stored.GetAnimation(2).GetVectorView(), nullptr);

    g3dMaterial working;
    working.AddAnimation(Constant(4, 2.0f));
    g3dApplyMaterialAnimations(stored, 1.0f, working);
    EXPECT_EQ(working.GetStage(1).scale.x, 2.0f);
    EXPECT_EQ(working.GetStage(1).scale.y, 3.0f);
    EXPECT_TRUE(working.GetStage(1).transformed);
    EXPECT_EQ(working.GetStage(0).scale.x, 1.0f);
    EXPECT_EQ(working.GetStage(0).rotation, 0.75f);
    EXPECT_EQ(working.GetAmbient().r, 1.0f);
    EXPECT_EQ(working.GetStageCount(), 2u);
    EXPECT_EQ(working.GetAnimationCount(), 1u); // its own, none of the stored ones
    EXPECT_FALSE(stored.GetStage(1).transformed);

    // A copy starts without bindings; deleting a material deletes its bindings and their animations.
    EXPECT_EQ(g3dMaterial(stored).GetAnimationCount(), 0u);
    int deleted = 0;
    {
        g3dMaterial owner;
        owner.AddAnimation(Constant(4, 1.0f, &deleted));
        owner.AddAnimation(Constant(4, 1.0f, &deleted));
    }
    EXPECT_EQ(deleted, 2);
}
