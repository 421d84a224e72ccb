#pragma once
#include "Engine/Graphics/Sc/scParticle.h"
#include "Engine/Graphics/Sc/scParticleGenerator.h"

// The living particles of one generator, oldest first, with what emission carries over between updates.
struct scParticleList {
    scParticle* head = nullptr;
    scParticle* tail = nullptr;
    u32 count = 0;
    // Emissions owed: grows by the rate times the frame delta, spent one per particle.
    float accumulator = 0.0f;
    // Where the generator was at the end of the last update; (0, 0, 0) stands for none yet.
    maVector3d previousPosition{0.0f, 0.0f, 0.0f};

    void Append(scParticle* particle);
    void Unlink(scParticle* particle);
};

// One update procedure for every kind: age, move and drop the living particles, then emit new ones along
// the path since the last update. The particle kind brings its records, pool, movement and draws.
template <class Particle> class scParticleGeneratorOf : public scSpriteGroupParticleGenerator {
  public:
    // At most this many particles are born in one update, the rest of what is owed dropped: a huge rate
    // or frame delta, with no limit on the living count (parameter 3 not above 0) or a huge one, must not
    // make millions at once.
    static constexpr i64 kMaxEmissionsPerUpdate = 10000;

    scParticleGeneratorOf(float startTime, int renderList)
        : scSpriteGroupParticleGenerator(startTime, renderList) {}
    // Every particle goes back to its pool.
    ~scParticleGeneratorOf() override;

    void Update(float time) override;

    // The sprite list: the first particle, oldest first.
    const scParticle* GetParticles() const { return m_list.head; }
    u32 GetParticleCount() const { return m_list.count; }
    float GetAccumulator() const { return m_list.accumulator; }

  private:
    scParticleContext MakeContext(maBoundingBox& box) const;
    scEmission MakeEmission() const;
    void Emit(const scParticleContext& context, maBoundingBox& box);

    scParticleList m_list;
};

// Particles stay where they were born.
class scStaticParticleGenerator : public scParticleGeneratorOf<scStaticParticle> {
  public:
    scStaticParticleGenerator(float startTime, int renderList);
    int GetParameterCount() const override { return 12; }
};

// Particles fly off inside a cone about the emit direction: half-angle P12, speeds P13 to P14,
// acceleration (P15, P16, P17).
class scConeParticleGenerator : public scParticleGeneratorOf<scConeParticle> {
  public:
    scConeParticleGenerator(float startTime, int renderList);
    int GetParameterCount() const override { return 18; }
};

// Particles circle centres that move along an axis: axis velocity (P14, P15, P16) times a factor from
// P12 to P13, axis acceleration (P17, P18, P19), start angles P20 to P21 and angular speeds P22 to P23 in
// degrees, radius P24 growing by P25 a second.
class scSpiralParticleGenerator : public scParticleGeneratorOf<scSpiralParticle> {
  public:
    scSpiralParticleGenerator(float startTime, int renderList);
    int GetParameterCount() const override { return 26; }
};

extern template class scParticleGeneratorOf<scStaticParticle>;
extern template class scParticleGeneratorOf<scConeParticle>;
extern template class scParticleGeneratorOf<scSpiralParticle>;
