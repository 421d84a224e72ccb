#pragma once
#include "Engine/Graphics/Sc/scAttachment.h"
#include "Engine/Graphics/Sc/scGeneratorEvents.h"

// Makes a particle generator follow a node of another scene object, and reports itself finished once
// the generator is gone. Deleting it while its generator runs lets the generator fade out: it stops
// emitting at its next update and goes once its particles have died.
class scParticleAttachment : public scGeneratorEventHandler, public scAttachment {
  public:
    scParticleAttachment() = default;
    scParticleAttachment(const scParticleAttachment&) = delete;
    scParticleAttachment& operator=(const scParticleAttachment&) = delete;
    ~scParticleAttachment() override;

    // Follows the generator and watches for its deletion.
    void SetGenerator(scParticleGenerator* generator);
    scParticleGenerator* GetGenerator() const { return m_generator; }

    void UpdateTransform(const maVector3d& position, const maRotation& rotation) override;
    bool IsFinished() override { return m_generatorGone; }
    void OnGeneratorRemoved(scParticleGenerator* generator) override;

  private:
    bool m_generatorGone = false;
    scParticleGenerator* m_generator = nullptr; // not owned
};
