// The "prop" scene: a prop of the built content loaded as the game loads it, posed by its idle
// animation at the given time, with the particle cues that have fired by then emitting from their
// nodes. The pixels at the prop's base must differ from the sky.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/Sc/scGeoFrameAnimation.h"
#include "Engine/Graphics/Sc/scParticleFactory.h"
#include "Engine/Graphics/Sc/scParticleGeneratorTemplate.h"
#include "Engine/Graphics/Sc/scParticleGenerators.h"
#include "Source/Settings/coPaths.h"
#include "Source/World/coPropTemplate.h"
#include "rdemo.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

constexpr u32 kSky = 0xFF203048;
const maVector3d kPlace(0.0f, -1.0f, 8.0f);

} // namespace

std::vector<u32> DrawPropScene(const std::string& theme, const std::string& name, f32 seconds) {
    fsAddRootDirectory(coRootText, DemoInData("Data/Text/Eng"));
    fsAddRootDirectory(coRootEffects, DemoInData("Data/Effects"));
    g3dFragmentManager::Initialize();
    g3dTextureManager::Initialize();
    g3dRenderer::Initialize();
    g3dRenderer::InitStates();
    maRandomSeed(1);

    auto prop = std::make_unique<coPropTemplate>(envString(name.c_str()), envString(), false);
    prop->Load(DemoInData("Themes/" + theme));
    std::vector<g3dModel*> models;
    std::vector<std::unique_ptr<scSpriteGroupParticleGenerator>> generators;
    maMatrix4d place;
    place.SetTranslation(kPlace.x, kPlace.y, kPlace.z);
    if (const g3dTransformTreeNode* tree = prop->GetNodeTree()) {
        // The renderer copies each first level apart from the root: the place goes on them.
        auto posed = tree->CloneTree();
        for (u32 i = 0; i < posed->GetChildCount(); ++i)
            posed->GetChild(i)->GetLocalMatrix() = place;
        if (prop->GetListSize(coPropTemplate::kIdle) > 0) {
            const coPropAnimation& idle = prop->GetAnimation(coPropTemplate::kIdle, 0);
            const f32 phase = idle.GetDuration() > 0.0f ? std::fmod(seconds, idle.GetDuration()) : 0.0f;
            const f32 frame =
                phase * static_cast<const anFrameAnimation&>(idle.GetFrameAnimation()).GetFrameRate();
            // The animation's root level is the model's first level.
            scPoseHierarchy(*posed->GetChild(0), scPose{.a = idle.GetTree().root.get(), .fa = frame});
            posed->GetChild(0)->GetLocalMatrix() = place;
            for (const coPropParticleCue& cue : idle.GetParticleCues()) {
                if (cue.time > seconds)
                    continue;
                // An empty node name is the model's root, here its placed first level.
                g3dTransformTreeNode* node =
                    cue.node.empty() ? posed->GetChild(0) : posed->FindByName(cue.node.c_str());
                maMatrix4d world;
                (node ? node : posed->GetChild(0))->GetWorldMatrix(world);
                generators.emplace_back(scCreateParticleGenerator(*cue.generator, cue.time, 0));
                generators.back()->SetDuration(cue.duration < 0.0f ? 1e7f : cue.duration);
                generators.back()->SetEmitDirection(cue.direction);
                generators.back()->SetPosition(world.TransformPoint(cue.offset));
                generators.back()->SetVisible(true);
            }
        }
        for (u32 i = 0; i < posed->GetChildCount(); ++i)
            models.push_back(g3dRenderer::AddNode(*posed->GetChild(i), 0));
        for (u32 i = 0; i < models.size(); ++i)
            models[i]->SetVisible(true);
    } else {
        for (g3dFragment* fragment : prop->GetModelParts().fragments) {
            models.push_back(g3dRenderer::AddPlacedStaticModel(fragment, place, 0));
            models.back()->SetVisible(true);
        }
    }
    for (f32 time = 0.0f; time <= seconds; time += 1.0f / 30.0f)
        for (auto& generator : generators)
            generator->Update(time);

    std::vector<u32> picture = DemoRenderFrame(kSky, seconds);

    const u32 base = DemoPixelAt(picture, kPlace + maVector3d(0.0f, 0.2f, 0.0f));
    const bool found = (base & 0xFFFFFF) != (kSky & 0xFFFFFF);
    if (!found)
        std::fprintf(stderr, "rdemo: no prop at its place (%06x)\n", base & 0xFFFFFF);
    generators.clear();
    for (g3dModel* model : models)
        g3dRenderer::RemoveModel(model);
    prop.reset();
    g3dRenderer::Shutdown();
    g2dScreen::EndFrame();
    fsResetRootTable();
    return found ? picture : std::vector<u32>{};
}
