#include "Engine/Graphics/G3d/g3dMaterialAnimation.h"

#include "Engine/Graphics/G3d/g3dMaterial.h"

g3dMaterialAnimation::g3dMaterialAnimation(std::unique_ptr<anAnimation> animation, u32 channel,
                                           float startTime)
    : m_animation(std::move(animation)), m_channel(channel), m_startTime(startTime) {
    using namespace g3dMaterialChannel;
    const anAnimation* a = m_animation.get();
    if (channel <= Emissive)
        m_color = dynamic_cast<const anTypedAnimation<g3dARGBColor>*>(a);
    else if (channel == SpecularPower || (channel >= StageRotation && channel <= Last))
        m_float = dynamic_cast<const anTypedAnimation<float>*>(a);
    else if (channel >= StageOffset && channel < StageRotation)
        m_vector = dynamic_cast<const anTypedAnimation<maVector2d>*>(a);
}

g3dMaterialAnimation::~g3dMaterialAnimation() = default;

void g3dMaterialAnimation::Apply(float time, g3dMaterial& material) const {
    using namespace g3dMaterialChannel;
    if (m_color) {
        const g3dARGBColor value = m_color->Evaluate(time);
        switch (m_channel) {
        case Ambient:
            material.SetAmbient(value);
            break;
        case Diffuse:
            material.SetDiffuse(value);
            break;
        case Specular:
            material.SetSpecular(value);
            break;
        default:
            material.SetEmissive(value);
            break;
        }
        return;
    }
    if (m_channel == SpecularPower) {
        if (m_float)
            material.SetSpecularPower(m_float->Evaluate(time));
        return;
    }
    const u32 stage = (m_channel - StageOffset) % 4;
    if (stage >= material.GetStageCount())
        return;
    if (m_vector && m_channel < StageScale)
        material.SetStageOffset(m_vector->Evaluate(time), stage);
    else if (m_vector)
        material.SetStageScale(m_vector->Evaluate(time), stage);
    else if (m_float)
        material.SetStageRotation(m_float->Evaluate(time), stage);
}

void g3dApplyMaterialAnimations(const g3dMaterial& stored, float time, g3dMaterial& working) {
    working = stored;
    for (u32 i = 0; i < stored.GetAnimationCount(); ++i)
        stored.GetAnimation(i).Apply(time, working);
}
