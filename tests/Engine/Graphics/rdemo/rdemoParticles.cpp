// The "particles" scene: the generated coaster flame, read from the built content, emitting upwards over
// a ground quad for the given time with the given seed, drawn by the renderer's frame. The pixels
// just above the generator must be warmer than the sky.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/Sc/scParticleFactory.h"
#include "Engine/Graphics/Sc/scParticleGeneratorTemplate.h"
#include "Engine/Graphics/Sc/scParticleGenerators.h"
#include "rdemo.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

constexpr u32 kSky = 0xFF203048;
const maVector3d kSource(0.0f, -1.5f, 12.0f);

fsLocator ParticleFile(const char* name) {
    return DemoInData(std::string("Data/Effects/Particle/") + name);
}

} // namespace

std::vector<u32> DrawParticlesScene(u32 seed, f32 seconds) {
    g3dFragmentManager::Initialize();
    g3dTextureManager::Initialize();
    g3dRenderer::Initialize();
    g3dRenderer::InitStates();
    maRandomSeed(seed);

    auto flame = std::make_unique<scParticleGeneratorTemplate>();
    scLoadParticleGeneratorTemplate(ParticleFile("coasterflame.tpr"), *flame);
    flame->textureFile = ParticleFile("flame.tuv");
    flame->LoadTexture();

    g3dMaterial ground;
    ground.SetAmbient({0.25f, 0.45f, 0.2f, 1.0f});
    const maVector3d positions[4] = {{-20, -2, 4}, {20, -2, 4}, {-20, -2, 60}, {20, -2, 60}};
    const maVector3d normals[4] = {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}};
    const maVector2d uvs[4] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    const u16 indices[6] = {0, 2, 1, 1, 2, 3};
    g3dMaterial* material = &ground;
    g3dFragment* quad = g3dFragmentManager::CreateFragmentPNT2(positions, normals, uvs, 4, indices, 6,
                                                               &material, nullptr, 1, false);
    g3dRenderer::AddStaticModel(quad, 0)->SetVisible(true);

    // The generator holds a share of the texture: the template may go first, as a prop's may.
    std::unique_ptr<scSpriteGroupParticleGenerator> generator(scCreateParticleGenerator(*flame, 0.0f, 0));
    flame.reset();
    generator->SetDuration(1e7f);
    generator->SetEmitDirection({0.0f, 1.0f, 0.0f});
    generator->SetPosition(kSource);
    generator->SetVisible(true);
    for (f32 time = 0.0f; time <= seconds; time += 1.0f / 30.0f)
        generator->Update(time);

    std::vector<u32> picture = DemoRenderFrame(kSky, seconds);

    const u32 flamePixel = DemoPixelAt(picture, kSource + maVector3d(0.0f, 1.0f, 0.0f));
    const bool warm = ((flamePixel >> 16) & 0xFF) > ((kSky >> 16) & 0xFF) + 60;
    if (!warm)
        std::fprintf(stderr, "rdemo: no flame above the source (%06x)\n", flamePixel & 0xFFFFFF);
    generator.reset();
    g3dFragmentManager::DestroyFragment(quad);
    g3dRenderer::Shutdown();
    g2dScreen::EndFrame();
    return warm ? picture : std::vector<u32>{};
}
