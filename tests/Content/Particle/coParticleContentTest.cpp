// The built flame effect, read by the engine's template reader and run by a generator.
#include "Content/coBuiltTree.h"
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/Sc/scParticleFactory.h"
#include "Engine/Graphics/Sc/scParticleGeneratorTemplate.h"
#include "Engine/Graphics/Sc/scParticleGenerators.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

TEST(coParticleContent, TheCoasterFlameIsAFadingConeOfItsSprite) {
    scParticleGeneratorTemplate flame;
    scLoadParticleGeneratorTemplate(coBuiltTreeLocator("Data/Effects/Particle/coasterflame.tpr"), flame);
    EXPECT_EQ(flame.generatorType, 1);
    ASSERT_NE(flame.GetAnimation(), nullptr);
    EXPECT_EQ(flame.GetAnimation()->Evaluate(0.0f), 1.0f);
    EXPECT_EQ(flame.GetAnimation()->Evaluate(1.0f), 0.0f);
    ASSERT_EQ(flame.textureFile.GetComponentCount(), 1u);
    const g2dPixelRows sprite = g2dReadPNG(coBuiltTreeLocator(
        "Data/Effects/Particle/" + envStringToNarrow(flame.textureFile.GetLastComponent())));
    EXPECT_TRUE(sprite.hasAlpha);
    EXPECT_EQ(sprite.width, 64u);

    maRandomSeed(1);
    g3dRenderer::Initialize();
    std::unique_ptr<scSpriteGroupParticleGenerator> generator(scCreateParticleGenerator(flame, 0.0f, 2));
    auto& cone = dynamic_cast<scConeParticleGenerator&>(*generator);
    // Flames give light: drawn additively, self-lit.
    EXPECT_FALSE(cone.GetModel().IsNormalBlending());
    cone.SetDuration(1e7f);
    float lowest = 1.0f;
    for (int frame = 0; frame <= 30; ++frame) {
        cone.Update(frame / 30.0f);
        for (const scParticle* p = cone.GetParticles(); p; p = p->Next())
            lowest = std::min(lowest, p->alpha);
    }
    EXPECT_GT(cone.GetParticleCount(), 10u);
    EXPECT_LT(lowest, 0.5f);
    generator.reset();
    g2dFreeResetHandlers();
}

// The fountain's drops, let go from its nozzle as the prop does, rise over it and fall back inside the
// basin (the model's inner wall at radius 1.6, the water at 0.38) before they fade; the sprite is pale blue.
TEST(coParticleContent, TheFountainSprayFallsBackIntoItsBasin) {
    scParticleGeneratorTemplate spray;
    scLoadParticleGeneratorTemplate(coBuiltTreeLocator("Data/Effects/Particle/fountain.tpr"), spray);
    const g2dPixelRows sprite = g2dReadPNG(coBuiltTreeLocator(
        "Data/Effects/Particle/" + envStringToNarrow(spray.textureFile.GetLastComponent())));
    const u8* centre = sprite.Row(sprite.height / 2) + sprite.width / 2 * sprite.BytesPerPixel();
    EXPECT_TRUE(sprite.hasAlpha);
    EXPECT_GE(centre[2], centre[0]);
    EXPECT_GT(centre[0], 180);

    maRandomSeed(1);
    g3dRenderer::Initialize();
    std::unique_ptr<scSpriteGroupParticleGenerator> made(scCreateParticleGenerator(spray, 0.0f, 2));
    auto* generator = dynamic_cast<scConeParticleGenerator*>(made.get());
    ASSERT_NE(generator, nullptr);
    // Glinting water adds its light, by day and in the cavern.
    EXPECT_FALSE(generator->GetModel().IsNormalBlending());
    const maVector3d nozzle(0.0f, 1.72f, 0.0f);
    generator->SetDuration(1e7f);
    generator->SetEmitDirection({0.0f, 1.0f, 0.0f});
    generator->SetPosition(nozzle);
    maBoundingBox drops;
    float widest = 0.0f;
    for (int frame = 0; frame <= 90; ++frame) {
        generator->Update(frame / 30.0f);
        for (const scParticle* p = generator->GetParticles(); p; p = p->Next()) {
            drops.AddPoint(p->position);
            widest = std::max(widest, std::hypot(p->position.x, p->position.z));
        }
    }
    EXPECT_GT(generator->GetParticleCount(), 50u);
    EXPECT_GT(drops.maxY, nozzle.y + 0.4f);
    EXPECT_LT(drops.minY, nozzle.y - 0.8f);
    EXPECT_GT(drops.minY, 0.38f - 0.1f);
    EXPECT_GT(widest, 0.8f);
    EXPECT_LT(widest, 1.6f);
    made.reset();
    g2dFreeResetHandlers();
}
