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
#include <set>
#include <string>
#include <tuple>
#include <vector>

// The flame plays its flip book over each flame's life: eight cells of a tongue of flame, clear at the
// cell's corners, that sways from frame to frame and cools from the first frame to the last.
TEST(coParticleContent, TheCoasterFlameIsAFadingConeOfItsFlipBook) {
    scParticleGeneratorTemplate flame;
    scLoadParticleGeneratorTemplate(coBuiltTreeLocator("Data/Effects/Particle/coasterflame.tpr"), flame);
    EXPECT_EQ(std::tuple(flame.generatorType, flame.frameMode), std::tuple(1, 0));
    ASSERT_NE(flame.GetAnimation(), nullptr);
    EXPECT_EQ(flame.GetAnimation()->Evaluate(0.0f), 1.0f);
    EXPECT_EQ(flame.GetAnimation()->Evaluate(1.0f), 0.0f);
    ASSERT_EQ(flame.textureFile.GetComponentCount(), 1u);
    EXPECT_EQ(envStringToNarrow(flame.textureFile.GetLastComponent()), "flame.tuv");
    const g2dPixelRows page = g2dReadPNG(coBuiltTreeLocator("Data/Effects/Particle/flameflicker.png"));
    ASSERT_TRUE(page.hasAlpha);
    ASSERT_EQ(std::tuple(page.width, page.height), std::tuple(256u, 128u));
    const auto pixel = [&](int cell, int x, int y) {
        return page.Row(static_cast<u32>(cell / 4 * 64 + y)) + static_cast<u32>(cell % 4 * 64 + x) * 4u;
    };
    std::set<std::vector<u8>> cells;
    for (int cell = 0; cell < 8; ++cell) {
        EXPECT_EQ(pixel(cell, 0, 0)[3], 0) << cell;
        EXPECT_EQ(pixel(cell, 63, 63)[3], 0) << cell;
        EXPECT_GT(pixel(cell, 32, 44)[3], 200) << cell;
        std::vector<u8> alpha;
        for (int y = 0; y < 64; y += 4)
            for (int x = 0; x < 64; x += 4)
                alpha.push_back(pixel(cell, x, y)[3]);
        cells.insert(alpha);
    }
    EXPECT_EQ(cells.size(), 8u);
    EXPECT_GT(pixel(0, 32, 44)[1], pixel(7, 32, 44)[1] + 60);

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
