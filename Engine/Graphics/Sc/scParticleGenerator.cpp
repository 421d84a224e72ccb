#include "Engine/Graphics/Sc/scParticleGenerator.h"

#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Engine/Graphics/Sc/scEmitter.h"
#include "Engine/Graphics/Sc/scGeneratorEvents.h"

scParticleGenerator::scParticleGenerator(float startTime) : m_startTime(startTime) {}

scParticleGenerator::~scParticleGenerator() {
    // A generator deleted outside the scene manager would otherwise leave its handlers pointing at it.
    scTellGeneratorRemoved(this);
}

void scParticleGenerator::Update(float time) {
    if (m_lastUpdateTime < 0.0f)
        m_lastUpdateTime = time;
    m_frameDelta = time - m_lastUpdateTime;
    m_lastUpdateTime = time;
    if (time > m_startTime + m_duration)
        m_flags |= kExpired;
    if (!m_emitter)
        m_emitter = std::make_unique<scPointEmitter>();
}

void scParticleGenerator::SetEmitter(std::unique_ptr<scEmitter> emitter) {
    m_emitter = std::move(emitter);
}

void scParticleGenerator::SetAnimation(const anTypedAnimation<float>& curve) {
    std::unique_ptr<anAnimation> copy = curve.Clone();
    m_curve.reset(dynamic_cast<anTypedAnimation<float>*>(copy.get()));
    if (m_curve)
        copy.release();
}

void scParticleGenerator::SetParameter(int i, float value) {
    if (i < 0)
        return;
    if (static_cast<size_t>(i) >= m_parameters.size())
        m_parameters.resize(static_cast<size_t>(i) + 1, 0.0f);
    m_parameters[static_cast<size_t>(i)] = value;
}

float scParticleGenerator::GetParameter(int i) const {
    return i >= 0 && static_cast<size_t>(i) < m_parameters.size() ? m_parameters[static_cast<size_t>(i)]
                                                                  : 0.0f;
}

scSpriteGroupParticleGenerator::scSpriteGroupParticleGenerator(float startTime, int renderList)
    : scParticleGenerator(startTime), m_model(g3dRenderer::AddSpriteGroup(static_cast<u32>(renderList))) {
    SetLighting(1);
    SetParameter(4, 1.0f);
    SetParameter(5, 1.0f);
    for (int i = 6; i <= 11; ++i)
        SetParameter(i, 0.0f);
}

scSpriteGroupParticleGenerator::~scSpriteGroupParticleGenerator() {
    g3dRenderer::RemoveModel(m_model);
}

void scSpriteGroupParticleGenerator::SetVisible(bool visible) {
    scParticleGenerator::SetVisible(visible);
    Show();
}

void scSpriteGroupParticleGenerator::SetCulled(bool culled) {
    scParticleGenerator::SetCulled(culled);
    Show();
}

void scSpriteGroupParticleGenerator::Show() {
    m_model->SetVisible(IsVisible() && !IsCulled());
}

void scSpriteGroupParticleGenerator::SetPosition(const maVector3d& position) {
    StorePosition(position);
    m_model->SetPosition(position);
}

void scSpriteGroupParticleGenerator::SetTexture(std::shared_ptr<g3dTexture> texture) {
    m_texture = std::move(texture);
    m_animatedTexture = dynamic_cast<g3dUVATexture*>(m_texture.get());
}

void scSpriteGroupParticleGenerator::SetLighting(int mode) {
    m_lighting = mode;
    const g3dARGBColor white(1.0f, 1.0f, 1.0f, 1.0f), none(0.0f, 0.0f, 0.0f, 0.0f);
    // Lit sprites blend over what is behind them; self-lit ones add their light (flames, sparks).
    m_model->SetNormalBlending(IsLit());
    g3dMaterial& material = m_model->GetMaterial();
    material.SetAmbient(IsLit() ? white : none);
    material.SetDiffuse(IsLit() ? white : none);
    material.SetEmissive(IsLit() ? none : white);
}

void scSpriteGroupParticleGenerator::RefreshMaterial() {
    g3dMaterial& material = m_model->GetMaterial();
    material.ClearTextureStages();
    material.AddTextureStage(m_texture.get(), 0);
}

void scSpriteGroupParticleGenerator::PlaceGroup(const maBoundingBox& box, g3dSprite* sprites) {
    m_model->SetFirstSprite(sprites);
    m_model->SetPosition(box.GetCenter());
    SetBoundingBox(box);
}
