// libFuzzer target: arbitrary bytes as a particle template file; a template that reads is made into its
// generator, which runs a few updates. Anything but the engine's own exceptions is a finding, and so is
// a hang or a NaN-driven runaway. Seeds: tests/Fuzz/lvFuzzSeeds; scripts/fuzz runs it.
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/Sc/scParticleFactory.h"
#include "Engine/Graphics/Sc/scParticleGenerator.h"
#include "Engine/Graphics/Sc/scParticleGeneratorTemplate.h"
#include "Fuzz/fuzzLoaderInput.h"

#include <memory>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzLoader::Start("input.tpr");
    g3dRenderer::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fsLocator& file = fuzzLoader::Write(data, size);
    scParticleGeneratorTemplate effect;
    try {
        scLoadParticleGeneratorTemplate(file, effect);
    } catch (const envExceptionX&) {
        return 0;
    }
    maRandomSeed(1);
    std::unique_ptr<scSpriteGroupParticleGenerator> generator(scCreateParticleGenerator(effect, 0.0f, 0));
    if (generator)
        for (float time : {0.0f, 0.25f, 0.5f, 2.0f})
            generator->Update(time);
    return 0;
}
