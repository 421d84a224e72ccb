#include "Engine/Graphics/Sc/scParticleAttachment.h"

#include "Engine/Graphics/Sc/scParticleGenerator.h"

scParticleAttachment::~scParticleAttachment() {
    scUnregisterGeneratorEventHandler(this);
    if (m_generator)
        m_generator->SetDuration(0.0f);
}

void scParticleAttachment::SetGenerator(scParticleGenerator* generator) {
    m_generator = generator;
    scRegisterGeneratorEventHandler(this, generator);
}

void scParticleAttachment::UpdateTransform(const maVector3d& position, const maRotation& rotation) {
    if (!m_generatorGone && m_generator)
        m_generator->SetPositionRotation(position, rotation);
}

void scParticleAttachment::OnGeneratorRemoved(scParticleGenerator*) {
    m_generatorGone = true;
    m_generator = nullptr;
}
