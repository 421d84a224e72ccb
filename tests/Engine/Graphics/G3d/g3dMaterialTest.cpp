#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/An/an2StateAnimation.h"
#include "Engine/Graphics/An/anConstantAnimation.h"
#include "Engine/Graphics/G2d/g2dScreenFixture.h"
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

// A float that counts the deletions of its animation.
struct CountedConstant : anConstantAnimation<float> {
    ~CountedConstant() override { ++*deleted; }
    int* deleted = nullptr;
};

std::unique_ptr<g3dMaterialAnimation> Bind(u32 channel, std::unique_ptr<anAnimation> animation) {
    return std::make_unique<g3dMaterialAnimation>(std::move(animation), channel, 0.0f);
}

std::unique_ptr<anAnimation> Vector(maVector2d from, maVector2d to) {
    auto animation = std::make_unique<an2StateAnimation<maVector2d>>();
    animation->SetStates(from, to);
    animation->SetDuration(2.0f);
    return animation;
}

std::unique_ptr<anAnimation> Float(f32 value, int* deleted) {
    auto animation = std::make_unique<CountedConstant>();
    animation->SetValue(value);
    animation->deleted = deleted;
    return animation;
}

} // namespace

TEST(g3dMaterial, FlagsFollowDiffuseAlphaAndStages) {
    g3dMaterial material;
    EXPECT_EQ(material.GetAmbient().r, 1.0f);
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

    // One opaque stage makes the material opaque: a texture without alpha bits in a mode other than 1.
    g3dPlainTexture withAlpha, opaque;
    withAlpha.SetPixelFormat(FormatOf(plD3dFormat::A4R4G4B4));
    opaque.SetPixelFormat(FormatOf(plD3dFormat::R5G6B5));
    const struct {
        std::vector<std::pair<g3dTexture*, u32>> stages;
        bool transparent;
    } cases[] = {
        {{{nullptr, 1}, {&opaque, 0}}, false},
        {{{nullptr, 1}, {&opaque, 1}}, true},
        {{{&withAlpha, 0}, {nullptr, 1}}, true},
        {{{&withAlpha, 0}, {nullptr, 0}}, false},
    };
    for (const auto& c : cases) {
        material.ClearTextureStages();
        for (auto [texture, mode] : c.stages)
            material.AddTextureStage(texture, mode);
        EXPECT_EQ(material.IsTransparent(), c.transparent);
    }
    material.RemoveTextureStage(1);
    EXPECT_TRUE(material.IsTransparent());
    material.AddTextureStage(&opaque, 0);
    material.SetDiffuse({1, 1, 1, 0.25f}); // a translucent diffuse colour wins whatever the stages
    EXPECT_TRUE(material.IsTransparent());
}

TEST(g3dMaterial, StageTransformsStayTheIdentityUntilSet) {
    g3dMaterial material;
    material.AddTextureStage(nullptr, 0);
    material.AddTextureStage(nullptr, 0);
    EXPECT_EQ(Rows(material, 0), (std::vector<f32>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
    material.SetStageOffset({0.25f, 0.5f}, 1);
    EXPECT_EQ(Rows(material, 1), (std::vector<f32>{1, 0, 0, 0, 1, 0, 0.25f, 0.5f, 1}));
    // A quarter turn with offset (1, 0): the last row's second element is + s x ox x sx.
    material.SetStageRotation(std::numbers::pi_v<f32> / 2, 0);
    material.SetStageOffset({1, 0}, 0);
    const std::vector<f32> turned = Rows(material, 0);
    EXPECT_NEAR(turned[1], -1.0f, 1e-6f);
    EXPECT_NEAR(turned[6], 0.0f, 1e-6f);
    EXPECT_NEAR(turned[7], 1.0f, 1e-6f);
}

TEST(g3dMaterial, ChannelsChangeOnlyTheWorkingCopy) {
    int deleted = 0;
    g3dMaterial stored;
    stored.AddTextureStage(nullptr, 0);
    stored.AddTextureStage(nullptr, 0);
    EXPECT_EQ(stored.AddAnimation(Bind(10, Vector({1, 1}, {3, 5}))), 1u);
    stored.AddAnimation(Bind(0, Float(0.5f, &deleted)));  // a float on a colour channel: no view
    stored.AddAnimation(Bind(7, Vector({9, 9}, {9, 9}))); // stage 2 of two
    stored.AddAnimation(Bind(13, Float(0.75f, &deleted)));
    EXPECT_EQ(stored.GetAnimation(1).GetColorView(), nullptr);

    g3dMaterial working;
    working.AddAnimation(Bind(4, Float(2.0f, &deleted)));
    g3dApplyMaterialAnimations(stored, 1.0f, working);
    EXPECT_EQ(working.GetStage(1).scale.x, 2.0f);
    EXPECT_EQ(working.GetStage(1).scale.y, 3.0f);
    EXPECT_EQ(working.GetStage(0).scale.x, 1.0f);
    EXPECT_EQ(working.GetStage(0).rotation, 0.75f);
    EXPECT_EQ(working.GetAmbient().r, 1.0f);
    EXPECT_EQ(working.GetStageCount(), 2u);
    EXPECT_EQ(working.GetAnimationCount(), 1u); // its own, none of the stored ones
    EXPECT_FALSE(stored.GetStage(1).transformed);
    EXPECT_EQ(g3dMaterial(stored).GetAnimationCount(), 0u);
    // Deleting a material deletes its bindings and their animations.
    { g3dMaterial(stored).AddAnimation(Bind(4, Float(1.0f, &deleted))); }
    EXPECT_EQ(deleted, 1);
}
