#include "Engine/Graphics/Sc/scParticleFactory.h"

#include "Engine/Graphics/Sc/scEmitter.h"
#include "Engine/Graphics/Sc/scParticleAttachment.h"
#include "Engine/Graphics/Sc/scParticleGeneratorTemplate.h"
#include "Engine/Graphics/Sc/scParticleGenerators.h"

#include <algorithm>
#include <memory>

namespace {

scParticleScene g_defaultScene;
scParticleScene* g_scene = &g_defaultScene;

std::unique_ptr<scSpriteGroupParticleGenerator> MakeGenerator(int type, float startTime, int renderList) {
    switch (type) {
    case 0:
        return std::make_unique<scStaticParticleGenerator>(startTime, renderList);
    case 1:
        return std::make_unique<scConeParticleGenerator>(startTime, renderList);
    case 2:
        return std::make_unique<scSpiralParticleGenerator>(startTime, renderList);
    default:
        return nullptr;
    }
}

} // namespace

void scParticleScene::DeleteObject(scObject* object) {
    delete object;
}

void scSetParticleScene(scParticleScene* scene) {
    g_scene = scene ? scene : &g_defaultScene;
}

scSpriteGroupParticleGenerator* scCreateParticleGenerator(const scParticleGeneratorTemplate& source,
                                                          float startTime, int renderList) {
    std::unique_ptr<scSpriteGroupParticleGenerator> generator =
        MakeGenerator(source.generatorType, startTime, renderList);
    if (!generator)
        return nullptr;
    generator->SetEmitter(source.CreateEmitter());
    generator->SetFrameMode(source.frameMode);
    generator->SetGrowthMode(source.growthMode);
    generator->SetLighting(source.lightingMode);
    if (source.GetAnimation())
        generator->SetAnimation(*source.GetAnimation());
    for (int i = 0; i < source.GetParameterCount(); ++i)
        generator->SetParameter(i, source.GetParameter(i));
    generator->SetTexture(source.ShareTexture());
    g_scene->AddToUpdateList(generator.get());
    return generator.release();
}

void scDeleteParticleGeneratorsOf(scObject* object) {
    std::vector<scParticleGenerator*> doomed;
    for (scAttachment* attachment : g_scene->GetAttachmentsOf(object))
        if (auto* carrier = dynamic_cast<scParticleAttachment*>(attachment))
            for (scParticleGenerator* generator : scGetGeneratorsWatchedBy(carrier))
                if (std::find(doomed.begin(), doomed.end(), generator) == doomed.end())
                    doomed.push_back(generator);
    for (scParticleGenerator* generator : doomed)
        g_scene->DeleteObject(generator);
}
