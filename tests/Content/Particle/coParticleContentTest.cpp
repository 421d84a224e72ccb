// The built flame effect, read by the engine's template reader and run by a generator.
#include "Content/coBuiltTree.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/Sc/scParticleFactory.h"
#include "Engine/Graphics/Sc/scParticleGeneratorTemplate.h"
#include "Engine/Graphics/Sc/scParticleGenerators.h"

#include <gtest/gtest.h>

#include <algorithm>
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
